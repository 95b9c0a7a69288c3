# Assembles 68HC11 programs in the classic Motorola syntax with hexmoor-asm at build time.
#
# hexmoor_assemble_programs(TARGET target OUTPUT_DIR dir SOURCES a.asm ... [INCLUDES x.inc ...]
#                           [OUTPUTS variable])
# Every source becomes OUTPUT_DIR/<name>.s19, with its listing <name>.lst and its symbols
# <name>.sym beside it (the debugger finds the .sym by the program's name). INCLUDES lists
# the files the sources INCLUDE, so that a change to one assembles them again. OUTPUTS
# names a variable that receives every file made, for installing them.

function(hexmoor_assemble_programs)
    cmake_parse_arguments(ARG "" "TARGET;OUTPUT_DIR;OUTPUTS" "SOURCES;INCLUDES" ${ARGN})
    file(MAKE_DIRECTORY ${ARG_OUTPUT_DIR})
    set(outputs)
    set(all_outputs)
    foreach(source IN LISTS ARG_SOURCES)
        get_filename_component(name ${source} NAME_WE)
        get_filename_component(source_dir ${source} DIRECTORY)
        get_filename_component(source_name ${source} NAME)
        set(srec ${ARG_OUTPUT_DIR}/${name}.s19)
        set(listing ${ARG_OUTPUT_DIR}/${name}.lst)
        set(symbols ${ARG_OUTPUT_DIR}/${name}.sym)
        add_custom_command(
            OUTPUT ${srec} ${listing} ${symbols}
            # Run beside the source and given its name alone, so that the listing names the
            # files as a user assembling them there would see them, with no build folder.
            COMMAND $<TARGET_FILE:hexmoor-asm> -o ${srec} -l ${listing} --symbols ${symbols} ${source_name}
            WORKING_DIRECTORY ${source_dir}
            DEPENDS ${source} ${ARG_INCLUDES} hexmoor-asm
            COMMENT "Assembling ${name}.asm"
            VERBATIM)
        list(APPEND outputs ${srec})
        list(APPEND all_outputs ${srec} ${listing} ${symbols})
    endforeach()
    add_custom_target(${ARG_TARGET} ALL DEPENDS ${outputs})
    if(ARG_OUTPUTS)
        set(${ARG_OUTPUTS} ${all_outputs} PARENT_SCOPE)
    endif()
endfunction()

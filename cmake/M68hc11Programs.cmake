# Assembles 68HC11 programs with the GNU toolchain into S19 files at build time.
#
# hexmoor_add_programs(TARGET target
#                      LINKER_SCRIPT file
#                      OUTPUT_DIR dir
#                      SOURCES a.s b.s ...
#                      [DEPENDS extra files the sources include])
# Every source becomes OUTPUT_DIR/<name>.s19. The S0 header record that objcopy writes
# is stripped, so a fixture holds only S1 data and the S9 end record.

find_program(M68HC11_AS m68hc11-as REQUIRED)
find_program(M68HC11_LD m68hc11-ld REQUIRED)
find_program(M68HC11_OBJCOPY m68hc11-objcopy REQUIRED)
find_program(SED_PROGRAM sed REQUIRED)

function(hexmoor_add_programs)
    cmake_parse_arguments(ARG "" "TARGET;LINKER_SCRIPT;OUTPUT_DIR" "SOURCES;DEPENDS" ${ARGN})
    file(MAKE_DIRECTORY ${ARG_OUTPUT_DIR})
    set(outputs)
    foreach(source IN LISTS ARG_SOURCES)
        get_filename_component(name ${source} NAME_WE)
        get_filename_component(source_dir ${source} DIRECTORY)
        set(object ${ARG_OUTPUT_DIR}/${name}.o)
        set(elf ${ARG_OUTPUT_DIR}/${name}.elf)
        set(srec ${ARG_OUTPUT_DIR}/${name}.s19)
        add_custom_command(
            OUTPUT ${srec}
            COMMAND ${M68HC11_AS} -I ${source_dir} -o ${object} ${source}
            COMMAND ${M68HC11_LD} -T ${ARG_LINKER_SCRIPT} -o ${elf} ${object}
            COMMAND ${M68HC11_OBJCOPY} -O srec ${elf} ${srec}
            COMMAND ${SED_PROGRAM} -i -e /^S0/d ${srec}
            DEPENDS ${source} ${ARG_LINKER_SCRIPT} ${ARG_DEPENDS}
            COMMENT "Assembling ${name}.s"
            VERBATIM)
        list(APPEND outputs ${srec})
    endforeach()
    add_custom_target(${ARG_TARGET} ALL DEPENDS ${outputs})
endfunction()

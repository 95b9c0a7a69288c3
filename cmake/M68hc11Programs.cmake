# Assembles 68HC11 programs with the GNU toolchain into S19 files at build time.
#
# hexmoor_add_programs(TARGET target OUTPUT_DIR dir [AS_FLAGS flags...] [DEPENDS included files...]
#                      SOURCES a.s b.s ...)
# Every source becomes OUTPUT_DIR/<name>.s19, assembled with AS_FLAGS (--gdwarf-4 for a line
# table) and linked by the one linker script in m68hc11/
# (code and data from $2000, vectors at the top) and able to `.include "vectors.inc"`.
# The S0 header record that objcopy writes is stripped, so a program file holds only S1
# data and the S9 end record. The linked <name>.elf and the linker's <name>.map stay beside
# it: programs and symbols in the other forms the simulator reads.

find_program(M68HC11_AS m68hc11-as REQUIRED)
find_program(M68HC11_LD m68hc11-ld REQUIRED)
find_program(M68HC11_OBJCOPY m68hc11-objcopy REQUIRED)
find_program(SED_PROGRAM sed REQUIRED)
set(HEXMOOR_M68HC11_DIR ${CMAKE_CURRENT_LIST_DIR}/m68hc11)

function(hexmoor_add_programs)
    cmake_parse_arguments(ARG "" "TARGET;OUTPUT_DIR" "AS_FLAGS;DEPENDS;SOURCES" ${ARGN})
    set(linker_script ${HEXMOOR_M68HC11_DIR}/link.ld)
    file(MAKE_DIRECTORY ${ARG_OUTPUT_DIR})
    set(outputs)
    foreach(source IN LISTS ARG_SOURCES)
        get_filename_component(name ${source} NAME_WE)
        get_filename_component(source_dir ${source} DIRECTORY)
        set(object ${ARG_OUTPUT_DIR}/${name}.o)
        set(elf ${ARG_OUTPUT_DIR}/${name}.elf)
        set(srec ${ARG_OUTPUT_DIR}/${name}.s19)
        set(map ${ARG_OUTPUT_DIR}/${name}.map)
        add_custom_command(
            OUTPUT ${srec}
            BYPRODUCTS ${object} ${elf} ${map}
            COMMAND ${M68HC11_AS} ${ARG_AS_FLAGS} -I ${source_dir} -I ${HEXMOOR_M68HC11_DIR} -o ${object} ${source}
            COMMAND ${M68HC11_LD} -T ${linker_script} -Map ${map} -o ${elf} ${object}
            COMMAND ${M68HC11_OBJCOPY} -O srec ${elf} ${srec}
            COMMAND ${SED_PROGRAM} -i -e /^S0/d ${srec}
            DEPENDS ${source} ${ARG_DEPENDS} ${linker_script} ${HEXMOOR_M68HC11_DIR}/vectors.inc
            COMMENT "Assembling ${name}.s"
            VERBATIM)
        list(APPEND outputs ${srec})
    endforeach()
    add_custom_target(${ARG_TARGET} ALL DEPENDS ${outputs})
endfunction()

# hexmoor_compressed(SOURCE OUTPUT): makes OUTPUT, SOURCE compressed as Debian compresses
# documentation (gzip -9, no name or time in the header, so the same text gives the same
# bytes). A function, not a target: list OUTPUT in a target's DEPENDS.
function(hexmoor_compressed source output)
    add_custom_command(
        OUTPUT ${output}
        COMMAND sh -c "gzip -9nc < \"$0\" > \"$1\"" ${source} ${output}
        DEPENDS ${source}
        VERBATIM)
endfunction()

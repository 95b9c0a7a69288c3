* Echoes what is typed (or fed from an input file) until a full stop; each CR becomes
* CR and LF, as the terminal returns to column 1 on a CR alone.
        INCLUDE "vector_defaults.inc"
TERMINAL EQU    $1037

        ORG     $2000
start   LDS     #$01FF
loop    LDAA    TERMINAL                ; waits for a character
        CMPA    #$2E                    ; '.'
        BEQ     done
        STAA    TERMINAL
        CMPA    #$0D
        BNE     loop
        LDAA    #$0A
        STAA    TERMINAL
        BRA     loop
done    STOP                            ; ends a headless run
halt    BRA     halt

        INCLUDE "vectors.inc"
        END     start

* Polls the terminal status port before every read, echoing until a full stop.
        INCLUDE "vector_defaults.inc"
STATUS  EQU     $1036
TERMINAL EQU    $1037

        ORG     $2000
start   LDS     #$01FF
poll    LDAA    STATUS
        BEQ     poll
        LDAA    TERMINAL
        CMPA    #$2E                    ; '.'
        BEQ     done
        STAA    TERMINAL
        BRA     poll
done    STOP
halt    BRA     halt

        INCLUDE "vectors.inc"
        END     start

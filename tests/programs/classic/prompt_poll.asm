* Asks for keys and polls the status port until one comes; echoes it in brackets; a "."
* ends the program.
        INCLUDE "vector_defaults.inc"
STATUS  EQU     $1036
TERMINAL EQU    $1037

        ORG     $2000
start   LDS     #$01FF
ask     LDX     #question
print   LDAA    0,X
        BEQ     poll
        STAA    TERMINAL
        INX
        BRA     print
poll    LDAA    STATUS
        BEQ     poll
        LDAA    TERMINAL
        CMPA    #$2E                    ; '.'
        BEQ     done
        LDAB    #$5B                    ; '['
        STAB    TERMINAL
        STAA    TERMINAL
        LDAB    #$5D                    ; ']'
        STAB    TERMINAL
        BRA     ask
done    STOP
halt    BRA     halt

question
        FCC     "key? "
        FCB     0

        INCLUDE "vectors.inc"
        END     start

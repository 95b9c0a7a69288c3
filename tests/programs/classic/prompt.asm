* Asks for a line, then reads it through the data port (which waits for a key) and
* echoes it; a "." ends the program.
        INCLUDE "vector_defaults.inc"
TERMINAL EQU    $1037

        ORG     $2000
start   LDS     #$01FF
ask     LDX     #question
        JSR     print
read    LDAA    TERMINAL
        CMPA    #$2E                    ; '.'
        BEQ     done
        STAA    TERMINAL
        CMPA    #$0D
        BNE     read
        LDAA    #$0A
        STAA    TERMINAL
        BRA     ask
done    STOP
halt    BRA     halt

print   LDAA    0,X
        BEQ     printed
        STAA    TERMINAL
        INX
        BRA     print
printed RTS

question
        FCC     "name? "
        FCB     0

        INCLUDE "vectors.inc"
        END     start

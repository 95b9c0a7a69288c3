* Prints a greeting through the terminal data port.
        INCLUDE "vector_defaults.inc"
TERMINAL EQU    $1037

        ORG     $2000
start   LDS     #$01FF
        LDX     #message
next    LDAA    0,X
        BEQ     done
        STAA    TERMINAL
        INX
        BRA     next
done    STOP                            ; ends a headless run
halt    BRA     halt

message FCC     "Hello, world!"
        FCB     $0D,$0A,0

        INCLUDE "vectors.inc"
        END     start

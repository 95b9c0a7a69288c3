* Says it is running, then computes for ever without another write.
        INCLUDE "vector_defaults.inc"
TERMINAL EQU    $1037

        ORG     $2000
start   LDS     #$01FF
        LDX     #message
next    LDAA    0,X
        BEQ     spin
        STAA    TERMINAL
        INX
        BRA     next
spin    INX
        BRA     spin

message FCC     "running"
        FCB     $0D,$0A,0

        INCLUDE "vectors.inc"
        END     start

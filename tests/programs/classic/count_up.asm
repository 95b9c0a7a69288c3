* Counts a word in memory upwards forever, for runs that stop at a breakpoint or by hand.
        INCLUDE "vector_defaults.inc"
COUNTER EQU     $4000

        ORG     $2000
start   LDS     #$01FF
        LDX     #0
loop    INX
        STX     COUNTER
        BRA     loop
done    BRA     done

        INCLUDE "vectors.inc"
        END     start

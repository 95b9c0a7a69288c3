* A long computation that looks for an abort key every 200 instructions or so: 5000 rounds
* of a 100-pass count (about 3,000,000 E cycles), then "done"; a key read before that
* prints "aborted".
        INCLUDE "vector_defaults.inc"
STATUS  EQU     $1036
TERMINAL EQU    $1037

        ORG     $2000
start   LDS     #$01FF
        LDY     #5000
round   LDX     #100
count   DEX
        BNE     count
        LDAA    STATUS
        BNE     abort
        DEY
        BNE     round
        LDX     #finished
        BRA     print
abort   LDAA    TERMINAL
        LDX     #aborted
print   LDAA    0,X
        BEQ     done
        STAA    TERMINAL
        INX
        BRA     print
done    STOP
halt    BRA     halt

finished
        FCC     "done"
        FCB     $0D,$0A,0
aborted FCC     "aborted"
        FCB     $0D,$0A,0

        INCLUDE "vectors.inc"
        END     start

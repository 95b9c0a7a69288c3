* A computation whose progress is only in memory: 25,600 rounds each count a word in
* memory up and call a routine that looks for an abort key, saving and restoring every
* register, so A, B, X, Y and SP are the same at every read of the status port. About
* 2,000,000 E cycles; then "done", or "aborted" for a key.
        INCLUDE "vector_defaults.inc"
STATUS  EQU     $1036
TERMINAL EQU    $1037
PROGRESS EQU    $0100
ROUNDS  EQU     $0102                   ; high byte: hundreds of 256 rounds

        ORG     $2000
start   LDS     #$01FF
        LDAA    #100
        STAA    ROUNDS
        CLR     ROUNDS+1
        CLR     PROGRESS
        CLR     PROGRESS+1
round   INC     PROGRESS+1
        BNE     counted
        INC     PROGRESS
counted JSR     check
        DEC     ROUNDS+1
        BNE     round
        DEC     ROUNDS
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

check   PSHA
        PSHB
        PSHX
        PSHY
        LDAA    STATUS
        BNE     abort
        PULY
        PULX
        PULB
        PULA
        RTS

finished
        FCC     "done"
        FCB     $0D,$0A,0
aborted FCC     "aborted"
        FCB     $0D,$0A,0

        INCLUDE "vectors.inc"
        END     start

* Subroutines, the stack, SWI/RTI and illegal-opcode traps in one program.
*  - SWI's handler increments the stacked A, so A comes back one higher.
*  - Three illegal opcodes (page 1, after $18, after $CD) trap; the handler steps over
*    each one, prebyte included, and counts it.
*  - fib(10) = 55 by recursion through BSR, with the partial sums on the stack.
        INCLUDE "vector_defaults.inc"
RESULT  EQU     $4000                   ; A after SWI, trap count, fib(10) as a word
TRAPS   EQU     RESULT+1

        ORG     $2000
start   LDS     #$01FF
        CLR     TRAPS
        LDAA    #5
        SWI
        STAA    RESULT
        FCB     $41                     ; illegal on the base page
        FCB     $18, $00                ; illegal after the $18 prebyte
        FCB     $CD, $12                ; illegal after the $CD prebyte
        LDAB    #10
        JSR     fib
        STD     RESULT+2
done    BRA     done

swi_handler
        TSX
        INC     2,X                     ; the stacked A
        RTI

* The stacked return address is the illegal instruction itself: step over it.
illegal_opcode_handler
        TSX
        LDY     7,X
        LDAB    #1
        LDAA    0,Y
        CMPA    #$18
        BEQ     prebyte
        CMPA    #$1A
        BEQ     prebyte
        CMPA    #$CD
        BNE     skip
prebyte INCB
skip    ABY
        STY     7,X
        INC     TRAPS
        RTI

* D = fib(B).
fib     CMPB    #2
        BCC     recurse
        CLRA
        RTS
recurse PSHB                            ; n
        DECB
        BSR     fib                     ; D = fib(n - 1)
        TSX                             ; X -> n
        PSHB
        PSHA                            ; fib(n - 1) on the stack
        LDAB    0,X
        SUBB    #2
        BSR     fib                     ; D = fib(n - 2)
        TSX
        ADDD    0,X
        INS
        INS
        INS
        RTS

* The vectors this program serves; the others stay 0.
swi_vector SET swi_handler
illegal_opcode_vector SET illegal_opcode_handler
        INCLUDE "vectors.inc"
        END     start

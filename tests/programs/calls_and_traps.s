; Subroutines, the stack, SWI/RTI and illegal-opcode traps in one program.
;  - SWI's handler increments the stacked A, so A comes back one higher.
;  - Three illegal opcodes (page 1, after $18, after $CD) trap; the handler steps over
;    each one, prebyte included, and counts it.
;  - fib(10) = 55 by recursion through BSR, with the partial sums on the stack.
        .equ    RESULT, 0x4000          ; A after SWI, trap count, fib(10) as a word
        .equ    TRAPS, RESULT + 1

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        clr     TRAPS
        ldaa    #5
        swi
        staa    RESULT
        .byte   0x41                    ; illegal on the base page
        .byte   0x18, 0x00              ; illegal after the $18 prebyte
        .byte   0xCD, 0x12              ; illegal after the $CD prebyte
        ldab    #10
        jsr     fib
        std     RESULT + 2
done:   bra     done

swi_handler:
        tsx
        inc     2,x                     ; the stacked A
        rti

; The stacked return address is the illegal instruction itself: step over it.
illegal_opcode_handler:
        tsx
        ldy     7,x
        ldab    #1
        ldaa    0,y
        cmpa    #0x18
        beq     prebyte
        cmpa    #0x1A
        beq     prebyte
        cmpa    #0xCD
        bne     skip
prebyte:
        incb
skip:   aby
        sty     7,x
        inc     TRAPS
        rti

; D = fib(B).
fib:    cmpb    #2
        bcc     recurse
        clra
        rts
recurse:
        pshb                            ; n
        decb
        bsr     fib                     ; D = fib(n - 1)
        tsx                             ; X -> n
        pshb
        psha                            ; fib(n - 1) on the stack
        ldab    0,x
        subb    #2
        bsr     fib                     ; D = fib(n - 2)
        tsx
        addd    0,x
        ins
        ins
        ins
        rts

        .include "vectors.inc"

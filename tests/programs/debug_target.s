; Calls (one nested), a routine that returns past inline text, a software interrupt and a
; counter in memory, shown on port B: a program for breakpoints, watchpoints, stepping and
; the history.
        .equ    count, 0x40
        .equ    PORTB, 0x1004

        .section .text
        .globl  _start
_start: lds     #0x01FF
        clr     count
loop:   inc     count
        jsr     twice
        jsr     print_inline
        .ascii  "ok"
        .byte   0
        swi
        ldaa    count
        cmpa    #5
        bne     loop
halt:   bra     halt

; A = count * 2, through a nested call.
twice:  ldaa    count
        bsr     double
        rts
double: asla
        rts

; Returns past the zero-terminated text that follows its JSR.
print_inline:
        pulx
skip:   ldab    0,x
        inx
        tstb
        bne     skip
        jmp     0,x

swi_handler:
        ldab    count
        stab    PORTB
        rti

        .include "vectors.inc"

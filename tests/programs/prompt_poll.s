; Asks for keys and polls the status port until one comes; echoes it in brackets; a "."
; ends the program.
        .equ    STATUS, 0x1036
        .equ    TERMINAL, 0x1037

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
ask:    ldx     #question
print:  ldaa    0,x
        beq     poll
        staa    TERMINAL
        inx
        bra     print
poll:   ldaa    STATUS
        beq     poll
        ldaa    TERMINAL
        cmpa    #0x2E                   ; '.'
        beq     done
        ldab    #0x5B                   ; '['
        stab    TERMINAL
        staa    TERMINAL
        ldab    #0x5D                   ; ']'
        stab    TERMINAL
        bra     ask
done:   stop
halt:   bra     halt

question:
        .asciz  "key? "

        .include "vectors.inc"

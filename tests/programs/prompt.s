; Asks for a line, then reads it through the data port (which waits for a key) and
; echoes it; a "." ends the program.
        .equ    TERMINAL, 0x1037

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
ask:    ldx     #question
        jsr     print
read:   ldaa    TERMINAL
        cmpa    #0x2E                   ; '.'
        beq     done
        staa    TERMINAL
        cmpa    #0x0D
        bne     read
        ldaa    #0x0A
        staa    TERMINAL
        bra     ask
done:   stop
halt:   bra     halt

print:  ldaa    0,x
        beq     printed
        staa    TERMINAL
        inx
        bra     print
printed:
        rts

question:
        .asciz  "name? "

        .include "vectors.inc"

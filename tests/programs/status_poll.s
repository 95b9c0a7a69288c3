; Polls the terminal status port before every read, echoing until a full stop.
        .equ    STATUS, 0x1036
        .equ    TERMINAL, 0x1037

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
poll:   ldaa    STATUS
        beq     poll
        ldaa    TERMINAL
        cmpa    #0x2E                   ; '.'
        beq     done
        staa    TERMINAL
        bra     poll
done:   stop
halt:   bra     halt

        .include "vectors.inc"

; Says it is running, then computes for ever without another write.
        .equ    TERMINAL, 0x1037

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        ldx     #message
next:   ldaa    0,x
        beq     spin
        staa    TERMINAL
        inx
        bra     next
spin:   inx
        bra     spin

message:
        .asciz  "running\r\n"

        .include "vectors.inc"

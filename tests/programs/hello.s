; Prints a greeting through the terminal data port.
        .equ    TERMINAL, 0x1037

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        ldx     #message
next:   ldaa    0,x
        beq     done
        staa    TERMINAL
        inx
        bra     next
done:   stop                            ; ends a headless run
halt:   bra     halt

message:
        .asciz  "Hello, world!\r\n"

        .include "vectors.inc"

; Times one SCI frame with TCNT: BAUD and SCCR1 from $5000 and $5001; the counter just
; after the byte is written goes to $5002, and once TC is set again to $5004.
        .equ    BAUD, 0x102B
        .equ    SCCR1, 0x102C
        .equ    SCCR2, 0x102D
        .equ    SCSR, 0x102E
        .equ    SCDR, 0x102F
        .equ    TCNT, 0x100E

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        ldx     #0x1000
        ldaa    0x5000
        staa    BAUD
        ldaa    0x5001
        staa    SCCR1
        ldaa    #0x08                   ; TE
        staa    SCCR2
        ldaa    SCSR                    ; TDRE and TC seen set
        ldab    #0x55
        stab    SCDR                    ; clears them
        ldd     TCNT
        std     0x5002
wait:   brclr   0x2E,x, #0x40, wait     ; TC
        ldd     TCNT
        std     0x5004
halt:   bra     halt

        .include "vectors.inc"

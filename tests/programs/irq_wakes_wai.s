; Waits for interrupts three times: each IRQ wakes the WAI, the handler counts it and RTI
; returns after the WAI.
        .equ    COUNT, 0x4000

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        clr     COUNT
        cli
again:  wai
        ldaa    COUNT
        cmpa    #3
        bne     again
done:   bra     done

irq_handler:
        inc     COUNT
        rti

        .include "vectors.inc"

; Counts three real-time interrupts at the fastest rate, clearing RTIF in the handler.
        .equ    TMSK2, 0x1024
        .equ    TFLG2, 0x1025
        .equ    COUNT, 0x4000

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        clr     COUNT
        ldaa    #0x40
        staa    TMSK2                   ; RTII
        cli
wait:   ldaa    COUNT
        cmpa    #3
        bne     wait
done:   bra     done

rti_handler:
        ldaa    #0x40
        staa    TFLG2
        inc     COUNT
        rti

        .include "vectors.inc"

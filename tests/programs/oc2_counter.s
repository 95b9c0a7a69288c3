; Output compare 2 interrupts every 1000 cycles; the handler moves the compare on, clears
; OC2F and counts. The main program waits for five of them.
        .equ    TCNT, 0x100E
        .equ    TOC2, 0x1018
        .equ    TMSK1, 0x1022
        .equ    TFLG1, 0x1023
        .equ    COUNT, 0x4000

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        clr     COUNT
        ldd     TCNT
        addd    #1000
        std     TOC2
        ldaa    #0x40
        staa    TFLG1                   ; no stale OC2F
        staa    TMSK1                   ; OC2I
        cli
wait:   ldaa    COUNT
        cmpa    #5
        bne     wait
done:   bra     done

output_compare2_handler:
        ldd     TOC2
        addd    #1000
        std     TOC2
        ldaa    #0x40
        staa    TFLG1
        inc     COUNT
        rti

        .include "vectors.inc"

; The sieve with the timer running and an output-compare interrupt every 500 cycles,
; whose handler moves the compare on and counts.
        .equ    TCNT, 0x100E
        .equ    TOC2, 0x1018
        .equ    TMSK1, 0x1022
        .equ    TFLG1, 0x1023
        .equ    TICKS, 0x3002

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        ldd     TCNT
        addd    #500
        std     TOC2
        ldaa    #0x40
        staa    TFLG1
        staa    TMSK1                   ; OC2I
        cli
        .include "sieve.inc"
after_round = sieve

output_compare2_handler:
        ldd     TOC2
        addd    #500
        std     TOC2
        ldaa    #0x40
        staa    TFLG1
        ldx     TICKS
        inx
        stx     TICKS
        rti

        .include "vectors.inc"

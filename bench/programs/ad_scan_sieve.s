; The sieve while the A/D converter scans AN0-AN3 without end: a sample every 32 cycles.
        .equ    ADCTL, 0x1030
        .equ    OPTION, 0x1039

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        ldaa    #0x80
        staa    OPTION                  ; ADPU
        ldaa    #0x30
        staa    ADCTL                   ; SCAN, MULT, group AN0-AN3
        .include "sieve.inc"
after_round = sieve

        .include "vectors.inc"

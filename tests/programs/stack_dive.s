; Pushes the stack below $0100 and back, and stores a word whose two bytes both change: a
; program for breaking when a value changes.
        .equ    word, 0x50

        .section .text
        .globl  _start
_start: lds     #0x0101
        ldd     #0x00FF
        std     word
        pshb                    ; $FF at $0101, SP $0101 -> $0100
        pshb                    ; SP $0100 -> $00FF
below:  pula                    ; A = $FF, SP $00FF -> $0100
above:  ldd     #0x0100
        std     word            ; $00FF -> $0100, high byte first
stored: ldx     #0x1234
        clra
halt:   bra     halt

        .include "vectors.inc"

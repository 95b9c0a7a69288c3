; Code whose lines a debugger finds in its DWARF line table: a loop, code from a file in
; another folder, a local label a relocation keeps in the symbol table (.L1\0021), and a
; second sequence in another section.
        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        ldaa    #3
1:      deca
        bne     1b
        ldx     #1b

        .include "inc/double.inc"
        jsr     helper
        stop

        .section .text.helper,"ax"
helper: inx
        rts

        .include "vectors.inc"

; Draws with the terminal's escape sequences: clear, cursor moves, clear to end of line.
        .equ    TERMINAL, 0x1037

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        ldx     #drawing
next:   ldaa    0,x
        cmpa    #0xFF
        beq     done
        staa    TERMINAL
        inx
        bra     next
done:   stop
halt:   bra     halt

drawing:
        .ascii  "garbage"
        .byte   7, 0                    ; clear the screen
        .ascii  "top left"
        .byte   7, 4, 10, 3             ; column 10, row 3
        .ascii  "middle xxxx"
        .byte   7, 4, 17, 3, 7, 1       ; clear from column 17 of row 3
        .byte   7, 4, 75, 24
        .ascii  "end"
        .byte   0xFF

        .include "vectors.inc"

; Draws on the terminal with every kind of byte the screen obeys: text, the escape
; commands (clear, clear to end of line and of screen, cursor moves, caret off and on, a
; hard copy), BS, LF, CR, FF, a character from the upper half, an automatic wrap and an
; ignored TAB. It ends with the caret hidden.
        .equ    TERMINAL, 0x1037

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        ldx     #drawing
next:   cpx     #drawn
        beq     done
        ldaa    0,x
        staa    TERMINAL
        inx
        bra     next
done:   stop
halt:   bra     halt

drawing:
        .ascii  "ab"
        .byte   7, 0                    ; clear the screen
        .ascii  "top"
        .byte   7, 4, 10, 3             ; column 10, row 3
        .ascii  "X"
        .byte   8                       ; back over the X, blanking it
        .byte   7, 1, 7, 2              ; clear to the end of the line, of the screen
        .byte   10, 13                  ; down a row, back to column 1
        .byte   7, 5, 0xB0, 0x80, 7, 6  ; caret off, a degree and a euro sign, caret on
        .byte   7, 4, 0, 99             ; clamped to column 1, row 24
        .byte   8                       ; from column 1 back to the end of row 23
        .byte   9                       ; TAB leaves no trace
        .byte   12                      ; FF clears the screen
        .byte   7, 4, 79, 1
        .ascii  "yz"                    ; z in column 80 wraps the cursor
        .byte   7, 3                    ; a hard copy
        .byte   7, 5                    ; the caret stays hidden at the end
drawn:

        .include "vectors.inc"

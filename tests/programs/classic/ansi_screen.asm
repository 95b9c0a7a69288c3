* Draws on the terminal with every kind of byte the screen obeys: text, the escape
* commands (clear, clear to end of line and of screen, cursor moves, caret off and on, a
* hard copy), BS, LF, CR, FF, a character from the upper half, an automatic wrap and an
* ignored TAB. It ends with the caret hidden.
        INCLUDE "vector_defaults.inc"
TERMINAL EQU    $1037

        ORG     $2000
start   LDS     #$01FF
        LDX     #drawing
next    CPX     #drawn
        BEQ     done
        LDAA    0,X
        STAA    TERMINAL
        INX
        BRA     next
done    STOP
halt    BRA     halt

drawing FCC     "ab"
        FCB     7, 0                    ; clear the screen
        FCC     "top"
        FCB     7, 4, 10, 3             ; column 10, row 3
        FCC     "X"
        FCB     8                       ; back over the X, blanking it
        FCB     7, 1, 7, 2              ; clear to the end of the line, of the screen
        FCB     10, 13                  ; down a row, back to column 1
        FCB     7, 5, $B0, $80, 7, 6    ; caret off, a degree and a euro sign, caret on
        FCB     7, 4, 0, 99             ; clamped to column 1, row 24
        FCB     8                       ; from column 1 back to the end of row 23
        FCB     9                       ; TAB leaves no trace
        FCB     12                      ; FF clears the screen
        FCB     7, 4, 79, 1
        FCC     "yz"                    ; z in column 80 wraps the cursor
        FCB     7, 3                    ; a hard copy
        FCB     7, 5                    ; the caret stays hidden at the end
drawn

        INCLUDE "vectors.inc"
        END     start

* Draws with the terminal's escape sequences: clear, cursor moves, clear to end of line.
        INCLUDE "vector_defaults.inc"
TERMINAL EQU    $1037

        ORG     $2000
start   LDS     #$01FF
        LDX     #drawing
next    LDAA    0,X
        CMPA    #$FF
        BEQ     done
        STAA    TERMINAL
        INX
        BRA     next
done    STOP
halt    BRA     halt

drawing FCC     "garbage"
        FCB     7, 0                    ; clear the screen
        FCC     "top left"
        FCB     7, 4, 10, 3             ; column 10, row 3
        FCC     "middle xxxx"
        FCB     7, 4, 17, 3, 7, 1       ; clear from column 17 of row 3
        FCB     7, 4, 75, 24
        FCC     "end"
        FCB     $FF

        INCLUDE "vectors.inc"
        END     start

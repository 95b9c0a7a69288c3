; Echoes what is typed (or fed from an input file) until a full stop; each CR becomes
; CR and LF, as the terminal returns to column 1 on a CR alone.
        .equ    TERMINAL, 0x1037

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
loop:   ldaa    TERMINAL                ; waits for a character
        cmpa    #0x2E                   ; '.'
        beq     done
        staa    TERMINAL
        cmpa    #0x0D
        bne     loop
        ldaa    #0x0A
        staa    TERMINAL
        bra     loop
done:   stop                            ; ends a headless run
halt:   bra     halt

        .include "vectors.inc"

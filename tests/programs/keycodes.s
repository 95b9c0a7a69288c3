; Prints the code of every key it reads, in hex followed by a space, for ever.
        .equ    TERMINAL, 0x1037

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
read:   ldaa    TERMINAL
        tab
        lsra
        lsra
        lsra
        lsra
        bsr     digit
        tba
        anda    #0x0F
        bsr     digit
        ldaa    #0x20
        staa    TERMINAL
        bra     read

digit:  adda    #0x30                   ; '0'
        cmpa    #0x39
        bls     put
        adda    #7                      ; 'A' - '9' - 1
put:    staa    TERMINAL
        rts

        .include "vectors.inc"

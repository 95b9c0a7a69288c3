; Powers the A/D converter up, converts AN4-AN7 once, polls CCF and copies ADR1-ADR4.
        .equ    ADCTL, 0x1030
        .equ    ADR1, 0x1031
        .equ    OPTION, 0x1039
        .equ    RESULT, 0x4000

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        ldaa    #0x80
        staa    OPTION                  ; ADPU
        ldaa    #0x14
        staa    ADCTL                   ; MULT, group AN4-AN7
poll:   ldaa    ADCTL
        bpl     poll                    ; CCF is bit 7
        ldx     #ADR1
        ldy     #RESULT
copy:   ldaa    0,x
        staa    0,y
        inx
        iny
        cpx     #ADR1 + 4
        bne     copy
done:   bra     done

        .include "vectors.inc"

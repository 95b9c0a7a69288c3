; Binary to decimal text with IDIV, and a binary fraction with FDIV:
; 65535 -> "65535", 1234 -> "01234", 1/3 -> $5555 remainder 1.
        .equ    RESULT, 0x4000          ; "65535", "01234", then the FDIV quotient and remainder
        .equ    count, 0x0040           ; on-chip RAM, reached with direct addressing

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        ldd     #65535
        ldy     #RESULT + 4
        bsr     to_decimal
        ldd     #1234
        ldy     #RESULT + 9
        bsr     to_decimal
        ldd     #1
        ldx     #3
        fdiv
        stx     RESULT + 10
        std     RESULT + 12
done:   bra     done

; D: the value; Y: the last of five characters, written backwards.
to_decimal:
        psha
        ldaa    #5
        staa    *count
        pula
next:   ldx     #10
        idiv                            ; X = D / 10, D = D mod 10
        addb    #0x30                   ; '0'
        stab    0,y
        dey
        xgdx                            ; the quotient goes on
        dec     count
        bne     next
        rts

        .include "vectors.inc"

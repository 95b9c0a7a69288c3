; 16 x 16 -> 32-bit unsigned multiply from four 8 x 8 MULs:
; $1234 x $5678 = $06260060 and $FFFF x $FFFF = $FFFE0001.
        .equ    RESULT, 0x4000          ; two 4-byte products, most significant byte first

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        ldx     #first
        ldy     #RESULT
        jsr     multiply
        ldx     #second
        ldy     #RESULT + 4
        jsr     multiply
done:   bra     done

; X: a (2 bytes) then b (2 bytes); Y: the 4-byte product.
multiply:
        ldaa    1,x                     ; al * bl -> bytes 2-3
        ldab    3,x
        mul
        std     2,y
        ldaa    0,x                     ; ah * bh -> bytes 0-1
        ldab    2,x
        mul
        std     0,y
        ldaa    0,x                     ; ah * bl -> bytes 1-2, carry into byte 0
        ldab    3,x
        mul
        bsr     add_middle
        ldaa    1,x                     ; al * bh -> bytes 1-2, carry into byte 0
        ldab    2,x
        mul
add_middle:
        addd    1,y
        std     1,y
        bcc     no_carry
        inc     0,y
no_carry:
        rts

first:  .word   0x1234, 0x5678
second: .word   0xFFFF, 0xFFFF

        .include "vectors.inc"

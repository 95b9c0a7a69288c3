; Adds 8-digit packed BCD numbers with ADCA and DAA, carrying through C across the loop:
; 12345678 + 87654329 = 1 00000007 and 19999999 + 00000001 = 0 20000000.
        .equ    RESULT, 0x4000          ; per sum: 4 bytes, most significant first, then carry

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        ldx     #first + 3
        ldy     #RESULT + 3
        bsr     bcd_add
        ldx     #second + 3
        ldy     #RESULT + 8
        bsr     bcd_add
done:   bra     done

; X: last byte of a (b follows a), Y: last byte of the sum; the carry goes after the sum.
; DEX, DEY and DECB leave C alone, so it carries from one byte pair to the next.
bcd_add:
        ldab    #4
        clc
next:   ldaa    0,x
        adca    4,x
        daa
        staa    0,y
        dex
        dey
        decb
        bne     next
        ldaa    #0                      ; unlike CLRA, LDAA leaves C alone
        rola
        staa    5,y
        rts

first:  .byte   0x12, 0x34, 0x56, 0x78, 0x87, 0x65, 0x43, 0x29
second: .byte   0x19, 0x99, 0x99, 0x99, 0x00, 0x00, 0x00, 0x01

        .include "vectors.inc"

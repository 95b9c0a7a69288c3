; A long computation that looks for an abort key every 200 instructions or so: 5000 rounds
; of a 100-pass count (about 3,000,000 E cycles), then "done"; a key read before that
; prints "aborted".
        .equ    STATUS, 0x1036
        .equ    TERMINAL, 0x1037

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        ldy     #5000
round:  ldx     #100
count:  dex
        bne     count
        ldaa    STATUS
        bne     abort
        dey
        bne     round
        ldx     #finished
        bra     print
abort:  ldaa    TERMINAL
        ldx     #aborted
print:  ldaa    0,x
        beq     done
        staa    TERMINAL
        inx
        bra     print
done:   stop
halt:   bra     halt

finished:
        .asciz  "done\r\n"
aborted:
        .asciz  "aborted\r\n"

        .include "vectors.inc"

; Counts a word in memory upwards forever, for runs that stop at a breakpoint or by hand.
        .equ    COUNTER, 0x4000

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        ldx     #0
loop:   inx
        stx     COUNTER
        bra     loop
done:   bra     done

        .include "vectors.inc"

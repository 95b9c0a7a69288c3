; The classic sieve of Eratosthenes over 8190 flags, forever: each round counts the
; 1899 primes from 3 to 16383 and stores the count at COUNT.
        .equ    FLAGS, 0x4000
        .equ    SIZE, 8190
        .equ    COUNT, 0x3000
        .equ    index, 0x00             ; direct-page variables in the on-chip RAM
        .equ    prime, 0x02
        .equ    count, 0x04

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
round:  ldx     #FLAGS
        ldaa    #1
fill:   staa    0,x
        inx
        cpx     #FLAGS + SIZE
        bne     fill
        ldd     #0
        std     *count
        ldx     #FLAGS
outer:  tst     0,x
        beq     next
        stx     *index                  ; prime = 2 * i + 3
        xgdx
        subd    #FLAGS
        asld
        addd    #3
        std     *prime
        addd    *index                  ; strike out i + prime, i + 2 * prime, ...
inner:  cpd     #FLAGS + SIZE
        bcc     struck
        xgdx
        clr     0,x
        xgdx
        addd    *prime
        bra     inner
struck: ldd     *count
        addd    #1
        std     *count
        ldx     *index
next:   inx
        cpx     #FLAGS + SIZE
        bne     outer
        ldd     *count
        std     COUNT
        bra     round

        .include "vectors.inc"

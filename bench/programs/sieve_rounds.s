; The sieve for a fixed number of rounds, then WAI with interrupts masked, which ends the
; run both here and in the GNU 68HC11 simulator: the same work for both to time.
        .equ    ROUNDS, 0x3004
        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        sei
        ldd     #1000
        std     ROUNDS
        bra     sieve
round:  ldd     ROUNDS
        subd    #1
        std     ROUNDS
        bne     sieve
        wai
        .include "sieve.inc"
after_round = round

        .include "vectors.inc"

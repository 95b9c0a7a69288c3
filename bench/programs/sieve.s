; The sieve on the CPU alone.
        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        .include "sieve.inc"
after_round = sieve

        .include "vectors.inc"

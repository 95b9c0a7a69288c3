; Prints the prime numbers below 1000, ten to a line, through the terminal.
        .equ    TERMINAL, 0x1037
        .equ    LIMIT, 1000
        .equ    candidate, 0x00         ; direct-page variables in the on-chip RAM
        .equ    divisor, 0x02
        .equ    column, 0x04
        .equ    digits, 0x06            ; four decimal digits, most significant first

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        ldx     #title
        bsr     print
        clr     *column
        ldd     #2
        std     *candidate
next:   ldd     #2
        std     *divisor
try:    ldaa    *divisor + 1            ; divisor * divisor > candidate: prime
        ldab    *divisor + 1
        mul
        cpd     *candidate
        bhi     prime
        ldd     *candidate
        ldx     *divisor
        idiv                            ; D = candidate mod divisor
        cpd     #0
        beq     composite
        ldx     *divisor
        inx
        stx     *divisor
        bra     try
prime:  bsr     print_candidate
composite:
        ldx     *candidate
        inx
        stx     *candidate
        cpx     #LIMIT
        bne     next
        ldaa    #0x0D
        bsr     put
        ldaa    #0x0A
        bsr     put
        stop                            ; the end of a headless run
done:   bra     done

; Prints the candidate right-aligned in five columns, ten to a line.
print_candidate:
        ldd     *candidate
        ldy     #digits + 3
convert:
        ldx     #10
        idiv
        stab    0,y
        dey
        xgdx
        cpy     #digits - 1
        bne     convert
        ldaa    #0x20
        bsr     put
        ldy     #digits
        ldab    #0x20                   ; blanks until the first significant digit
digit:  ldaa    0,y
        bne     significant
        cpy     #digits + 3
        beq     significant
        tba
        bra     show
significant:
        adda    #0x30
        ldab    #0x30                   ; zeros inside the number are shown
show:   bsr     put
        iny
        cpy     #digits + 4
        bne     digit
        inc     *column
        ldaa    *column
        cmpa    #10
        bne     printed
        clr     *column
        ldaa    #0x0D
        bsr     put
        ldaa    #0x0A
        bsr     put
printed:
        rts

; Prints the zero-terminated text at X.
print:  ldaa    0,x
        beq     printed
        bsr     put
        inx
        bra     print

put:    staa    TERMINAL
        rts

title:  .asciz  "Primes below 1000 on a 68HC11F1:\r\n"

        .include "vectors.inc"

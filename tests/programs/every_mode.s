; The twin of classic/every_mode.asm, whose bytes it gives at the same addresses: direct
; addressing is written *name here, and the classic source's numbers in other bases and its
; SET value appear as the values they come to.
        .equ    REGS, 0x1000
        .equ    flags, 0x40
        .equ    step, 6

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        ldx     #REGS
        ldy     #table
        ldaa    #'A
        ldab    #0xA5
        adda    #15
        addb    #-1
        addd    #0x700
        cpd     #0x1234
        cpy     #late
        ldaa    *flags
        subd    *flags+2
        staa    *late
        jsr     *flags
        stab    late
        ldaa    flags
        staa    REGS+4
        ldx     table+2
        jmp     done
        ldaa    0,x
        std     step,x
        cpd     2,x
        ldy     4,x
        cpy     0,x
        ldaa    1,y
        cpd     3,y
        ldx     5,y
        cpx     0,y
        jmp     0,x
        nop
        aba
        mul
        idiv
        swi
        xgdy
        iny
        tsy
        bset    *flags, #0x01
        bclr    *late, #0x80
        bset    4,x, #0x0F
        bclr    2,y, #0xF0
loop:   brset   *flags, #0x80, loop
        brclr   0,x, #0x01, done
        brset   1,y, #2, loop
        brclr   *late, #0x10, .
        bra     1f                      ; `.+2` in a branch reads as an offset of 2 here
1:
        bne     loop
        beq     done
        bsr     sub
        brn     .
done:   bra     done
sub:    rts
swi_handler:
        rti
table:  .byte   1, 'A, -1, 3, 7, 0xFF, 0x10
        .word   ., _start, -2, 12
        .ascii  "slashes"
        .ascii  "a b;c"
        .skip   5
        .fill   4, 1, 0xAA
        .equ    late, 0x80

        .include "vectors.inc"

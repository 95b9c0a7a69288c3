; Moves the register block to $4000 and the on-chip RAM to $9000 with INIT in its first
; instructions, then works with the new map: a RAM variable, a timer register written and
; read back through its new address, and plain memory where the registers used to be.
        .equ    INIT_OLD, 0x103D
        .equ    TOC2_NEW, 0x4018
        .equ    RAM_NEW, 0x9000

        .section .text
        .globl  _start
_start:
        ldaa    #0x94                   ; registers at $4000, RAM at $9000
        staa    INIT_OLD
        lds     #RAM_NEW + 0x3FF
        ldd     #0x1234
        std     TOC2_NEW
        ldx     TOC2_NEW                ; read back through the register window
        stx     RAM_NEW
        ldaa    #0x5A
        staa    0x1018                  ; plain memory now
        jsr     subroutine              ; the stack lives in the moved RAM
done:   bra     done

subroutine:
        inc     RAM_NEW + 2
        rts

        .include "vectors.inc"

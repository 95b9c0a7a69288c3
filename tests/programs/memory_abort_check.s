; A computation whose progress is only in memory: 25,600 rounds each count a word in
; memory up and call a routine that looks for an abort key, saving and restoring every
; register, so A, B, X, Y and SP are the same at every read of the status port. About
; 2,000,000 E cycles; then "done", or "aborted" for a key.
        .equ    STATUS, 0x1036
        .equ    TERMINAL, 0x1037
        .equ    PROGRESS, 0x0100
        .equ    ROUNDS, 0x0102                  ; high byte: hundreds of 256 rounds

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        ldaa    #100
        staa    ROUNDS
        clr     ROUNDS+1
        clr     PROGRESS
        clr     PROGRESS+1
round:  inc     PROGRESS+1
        bne     counted
        inc     PROGRESS
counted:
        jsr     check
        dec     ROUNDS+1
        bne     round
        dec     ROUNDS
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

check:  psha
        pshb
        pshx
        pshy
        ldaa    STATUS
        bne     abort
        puly
        pulx
        pulb
        pula
        rts

finished:
        .asciz  "done\r\n"
aborted:
        .asciz  "aborted\r\n"

        .include "vectors.inc"

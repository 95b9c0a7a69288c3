; Echoes typed bytes through the SCI, polling its flags, until a full stop; then waits
; for the last byte to leave. BAUD and SCCR1 come from $5000 and $5001.
        .equ    BAUD, 0x102B
        .equ    SCCR1, 0x102C
        .equ    SCCR2, 0x102D
        .equ    SCSR, 0x102E
        .equ    SCDR, 0x102F

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        ldaa    0x5000
        staa    BAUD
        ldaa    0x5001
        staa    SCCR1
        ldaa    #0x0C                   ; TE, RE
        staa    SCCR2
receive:
        ldaa    SCSR
        anda    #0x20                   ; RDRF
        beq     receive
        ldab    SCDR
        cmpb    #0x2E                   ; '.'
        beq     drain
send:   ldaa    SCSR
        bpl     send                    ; TDRE
        stab    SCDR
        bra     receive
drain:  ldaa    SCSR
        anda    #0x40                   ; TC
        beq     drain
halt:   bra     halt

        .include "vectors.inc"

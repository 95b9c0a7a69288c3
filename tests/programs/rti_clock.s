; Echoes keys polled from the status port until a full stop, while a real-time interrupt
; clock counts its ticks in memory and prints a star every 8 ticks (65,536 E cycles).
        .equ    STATUS, 0x1036
        .equ    TERMINAL, 0x1037
        .equ    TMSK2, 0x1024
        .equ    TFLG2, 0x1025
        .equ    TICKS, 0x0100

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        clr     TICKS
        ldaa    #0x40
        staa    TMSK2                   ; RTII
        cli
poll:   ldaa    STATUS
        beq     poll
        ldaa    TERMINAL
        cmpa    #0x2E                   ; '.'
        beq     done
        staa    TERMINAL
        bra     poll
done:   stop
halt:   bra     halt

rti_handler:
        ldaa    #0x40
        staa    TFLG2
        inc     TICKS
        ldaa    TICKS
        anda    #7
        bne     ticked
        ldaa    #0x2A                   ; '*'
        staa    TERMINAL
ticked: rti

        .include "vectors.inc"

; Enables the interrupt sources a typed key names, then waits with WAI until three
; interrupts have come and says "woke". Keys: c IC1, i IC1-IC3 and SPI, p the pulse
; accumulator's input edge, s SCI, q PAOV and PAI with the time gate closed (PA7 low,
; counting while high), g PAOV with the gate open (counting while low), r RTI, o OC2,
; t timer overflow.
        .equ    TERMINAL, 0x1037
        .equ    TMSK1, 0x1022
        .equ    TFLG1, 0x1023
        .equ    TMSK2, 0x1024
        .equ    TFLG2, 0x1025
        .equ    PACTL, 0x1026
        .equ    SPCR, 0x1028
        .equ    SCCR2, 0x102D
        .equ    COUNT, 0x4000

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        clr     COUNT
        ldaa    TERMINAL
        cmpa    #'c'
        bne     not_c
        ldab    #0x04
        stab    TMSK1
        bra     wait
not_c:  cmpa    #'i'
        bne     not_i
        ldab    #0x07
        stab    TMSK1
        ldab    #0x80
        stab    SPCR
        bra     wait
not_i:  cmpa    #'p'
        bne     not_p
        ldab    #0x40                   ; event counting
        stab    PACTL
        ldab    #0x10                   ; PAII
        stab    TMSK2
        bra     wait
not_p:  cmpa    #'s'
        bne     not_s
        ldab    #0x20                   ; RIE
        stab    SCCR2
        bra     wait
not_s:  cmpa    #'q'
        bne     not_q
        ldab    #0x60                   ; time, while PA7 is high
        stab    PACTL
        ldab    #0x30                   ; PAOVI, PAII
        stab    TMSK2
        bra     wait
not_q:  cmpa    #'g'
        bne     not_g
        ldab    #0x70                   ; time, while PA7 is low
        stab    PACTL
        ldab    #0x20                   ; PAOVI
        stab    TMSK2
        bra     wait
not_g:  cmpa    #'r'
        bne     not_r
        ldab    #0x40                   ; RTII
        stab    TMSK2
        bra     wait
not_r:  cmpa    #'o'
        bne     not_o
        ldab    #0x40                   ; OC2I
        stab    TMSK1
        bra     wait
not_o:  ldab    #0x80                   ; TOI
        stab    TMSK2
wait:   cli
again:  wai
        ldaa    COUNT
        cmpa    #3
        bne     again
        ldx     #message
next:   ldaa    0,x
        beq     done
        staa    TERMINAL
        inx
        bra     next
done:   stop
halt:   bra     halt

; Every source comes here: its flags are cleared and the interrupt counted.
input_capture1_handler:
input_capture2_handler:
input_capture3_handler:
output_compare2_handler:
pulse_accumulator_input_handler:
pulse_accumulator_overflow_handler:
timer_overflow_handler:
rti_handler:
sci_handler:
spi_handler:
        ldaa    #0xFF
        staa    TFLG1
        ldaa    #0xF0
        staa    TFLG2
        inc     COUNT
        rti

message:
        .asciz  "woke\r\n"

        .include "vectors.inc"

; Keeps every timed part of the chip busy at once, for comparing runs: the four output
; compares with pin actions and interrupts, timer overflow, the real-time interrupt, input
; captures on either edge, A/D scanning, and, as the byte at $5000 chooses, the pulse
; accumulator's gated time mode, COP service and WAI. The main loop samples TCNT, reads
; the A/D results, computes with interrupts masked and unmasked, and sometimes waits.
;   $5000 bits 1-0: timer prescaler   bits 3-2: RTI rate   bit 4: pulse accumulator
;         bit 6: service the COP      bit 7: WAI in the main loop
        .equ    REGS, 0x1000
        .equ    PORTA, 0x00
        .equ    OC1M, 0x0C
        .equ    OC1D, 0x0D
        .equ    TCNT, 0x0E
        .equ    TIC1, 0x10
        .equ    TOC1, 0x16
        .equ    TOC2, 0x18
        .equ    TOC3, 0x1A
        .equ    TOC4, 0x1C
        .equ    TCTL1, 0x20
        .equ    TCTL2, 0x21
        .equ    TMSK1, 0x22
        .equ    TFLG1, 0x23
        .equ    TMSK2, 0x24
        .equ    TFLG2, 0x25
        .equ    PACTL, 0x26
        .equ    ADCTL, 0x30
        .equ    ADR1, 0x31
        .equ    OPTION, 0x39
        .equ    COPRST, 0x3A
        .equ    SETUP, 0x5000
        .equ    VARS, 0x5100            ; counters and samples the handlers keep

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        ldx     #REGS
        ldaa    SETUP
        anda    #0x03
        oraa    #0xC0                   ; TOI, RTII, the prescaler
        ldab    SETUP
        bitb    #0x10
        beq     1f
        oraa    #0x30                   ; PAOVI, PAII
1:      staa    TMSK2,x                 ; protected: within 64 cycles of reset
        ldaa    #0x83                   ; ADPU, the slowest COP rate
        staa    OPTION,x
        ldaa    SETUP
        lsra
        lsra
        anda    #0x03                   ; RTR
        ldab    SETUP
        bitb    #0x10
        beq     2f
        oraa    #0x70                   ; PAEN, PAMOD, PEDGE: gated time accumulation
2:      staa    PACTL,x
        ldaa    #0xF8                   ; OC1 drives PA7-PA3
        staa    OC1M,x
        ldaa    #0xA8
        staa    OC1D,x
        ldaa    #0x6D                   ; OC2 toggle, OC3 clear, OC4 set, OC5 toggle
        staa    TCTL1,x
        ldaa    #0x3F                   ; IC1-IC3 on either edge
        staa    TCTL2,x
        ldaa    #0xF7                   ; OC1I-OC4I, IC1I-IC3I
        staa    TMSK1,x
        ldd     TCNT,x
        addd    #1000
        std     TOC1,x
        addd    #333
        std     TOC2,x
        addd    #777
        std     TOC3,x
        addd    #2222
        std     TOC4,x
        ldaa    #0x30                   ; SCAN, MULT: convert AN0-AN3 for ever
        staa    ADCTL,x
        ldy     #VARS
        clra
        clrb
3:      std     0,y
        iny
        iny
        cpy     #VARS+32
        bne     3b
        cli

main:   ldd     TCNT,x                  ; TCNT sampled in the loop
        std     VARS+0
        ldaa    ADR1,x
        staa    VARS+2
        ldab    SETUP
        bitb    #0x40
        beq     4f
        ldaa    #0x55                   ; COP service
        staa    COPRST,x
        ldaa    #0xAA
        staa    COPRST,x
4:      ldab    SETUP
        bitb    #0x80
        beq     5f
        ldaa    VARS+3
        inca
        staa    VARS+3
        anda    #0x07
        bne     5f
        wai                             ; every eighth time round
5:      sei                             ; a stretch with interrupts masked
        ldab    #40
6:      ldaa    VARS+4
        adda    #3
        staa    VARS+4
        decb
        bne     6b
        cli
        ldy     #150                    ; and one with them open
7:      ldd     VARS+6
        addd    #7
        std     VARS+6
        dey
        bne     7b
        bra     main

; Each compare moves itself on by its own period and counts.
output_compare1_handler:
        ldd     TOC1,x
        addd    #1234
        std     TOC1,x
        ldaa    #0x80
        bra     compared
output_compare2_handler:
        ldd     TOC2,x
        addd    #777
        std     TOC2,x
        ldaa    #0x40
        bra     compared
output_compare3_handler:
        ldd     TOC3,x
        addd    #3001
        std     TOC3,x
        ldaa    #0x20
        bra     compared
output_compare4_handler:
        ldd     TOC4,x
        addd    #4999
        std     TOC4,x
        ldaa    #0x10
compared:
        staa    TFLG1,x
        inc     VARS+8
        rti

input_capture1_handler:
        ldaa    #0x04
        bra     captured
input_capture2_handler:
        ldaa    #0x02
        bra     captured
input_capture3_handler:
        ldaa    #0x01
captured:
        staa    TFLG1,x
        ldd     TIC1,x
        std     VARS+10
        inc     VARS+12
        rti

timer_overflow_handler:
        ldaa    #0x80
        bra     flagged2
rti_handler:
        ldd     TCNT,x                  ; TCNT sampled in a handler
        std     VARS+14
        ldaa    #0x40
        bra     flagged2
pulse_accumulator_input_handler:
        ldaa    #0x10
        bra     flagged2
pulse_accumulator_overflow_handler:
        ldaa    #0x20
flagged2:
        staa    TFLG2,x
        inc     VARS+16
        rti

        .include "vectors.inc"

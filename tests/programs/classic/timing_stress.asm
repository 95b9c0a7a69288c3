* Keeps every timed part of the chip busy at once, for comparing runs: the four output
* compares with pin actions and interrupts, timer overflow, the real-time interrupt, input
* captures on either edge, A/D scanning, and, as the byte at $5000 chooses, the pulse
* accumulator's gated time mode, COP service and WAI. The main loop samples TCNT, reads
* the A/D results, computes with interrupts masked and unmasked, and sometimes waits.
*   $5000 bits 1-0: timer prescaler   bits 3-2: RTI rate   bit 4: pulse accumulator
*         bit 6: service the COP      bit 7: WAI in the main loop
        INCLUDE "vector_defaults.inc"
REGS    EQU     $1000
PORTA   EQU     $00
OC1M    EQU     $0C
OC1D    EQU     $0D
TCNT    EQU     $0E
TIC1    EQU     $10
TOC1    EQU     $16
TOC2    EQU     $18
TOC3    EQU     $1A
TOC4    EQU     $1C
TCTL1   EQU     $20
TCTL2   EQU     $21
TMSK1   EQU     $22
TFLG1   EQU     $23
TMSK2   EQU     $24
TFLG2   EQU     $25
PACTL   EQU     $26
ADCTL   EQU     $30
ADR1    EQU     $31
OPTION  EQU     $39
COPRST  EQU     $3A
SETUP   EQU     $5000
VARS    EQU     $5100                   ; counters and samples the handlers keep

        ORG     $2000
start   LDS     #$01FF
        LDX     #REGS
        LDAA    SETUP
        ANDA    #$03
        ORAA    #$C0                    ; TOI, RTII, the prescaler
        LDAB    SETUP
        BITB    #$10
        BEQ     masks
        ORAA    #$30                    ; PAOVI, PAII
masks   STAA    TMSK2,X                 ; protected: within 64 cycles of reset
        LDAA    #$83                    ; ADPU, the slowest COP rate
        STAA    OPTION,X
        LDAA    SETUP
        LSRA
        LSRA
        ANDA    #$03                    ; RTR
        LDAB    SETUP
        BITB    #$10
        BEQ     gate
        ORAA    #$70                    ; PAEN, PAMOD, PEDGE: gated time accumulation
gate    STAA    PACTL,X
        LDAA    #$F8                    ; OC1 drives PA7-PA3
        STAA    OC1M,X
        LDAA    #$A8
        STAA    OC1D,X
        LDAA    #$6D                    ; OC2 toggle, OC3 clear, OC4 set, OC5 toggle
        STAA    TCTL1,X
        LDAA    #$3F                    ; IC1-IC3 on either edge
        STAA    TCTL2,X
        LDAA    #$F7                    ; OC1I-OC4I, IC1I-IC3I
        STAA    TMSK1,X
        LDD     TCNT,X
        ADDD    #1000
        STD     TOC1,X
        ADDD    #333
        STD     TOC2,X
        ADDD    #777
        STD     TOC3,X
        ADDD    #2222
        STD     TOC4,X
        LDAA    #$30                    ; SCAN, MULT: convert AN0-AN3 for ever
        STAA    ADCTL,X
        LDY     #VARS
        CLRA
        CLRB
zero    STD     0,Y
        INY
        INY
        CPY     #VARS+32
        BNE     zero
        CLI

main    LDD     TCNT,X                  ; TCNT sampled in the loop
        STD     VARS+0
        LDAA    ADR1,X
        STAA    VARS+2
        LDAB    SETUP
        BITB    #$40
        BEQ     cop_done
        LDAA    #$55                    ; COP service
        STAA    COPRST,X
        LDAA    #$AA
        STAA    COPRST,X
cop_done LDAB   SETUP
        BITB    #$80
        BEQ     masked
        LDAA    VARS+3
        INCA
        STAA    VARS+3
        ANDA    #$07
        BNE     masked
        WAI                             ; every eighth time round
masked  SEI                             ; a stretch with interrupts masked
        LDAB    #40
add3    LDAA    VARS+4
        ADDA    #3
        STAA    VARS+4
        DECB
        BNE     add3
        CLI
        LDY     #150                    ; and one with them open
add7    LDD     VARS+6
        ADDD    #7
        STD     VARS+6
        DEY
        BNE     add7
        BRA     main

* Each compare moves itself on by its own period and counts.
output_compare1_handler
        LDD     TOC1,X
        ADDD    #1234
        STD     TOC1,X
        LDAA    #$80
        BRA     compared
output_compare2_handler
        LDD     TOC2,X
        ADDD    #777
        STD     TOC2,X
        LDAA    #$40
        BRA     compared
output_compare3_handler
        LDD     TOC3,X
        ADDD    #3001
        STD     TOC3,X
        LDAA    #$20
        BRA     compared
output_compare4_handler
        LDD     TOC4,X
        ADDD    #4999
        STD     TOC4,X
        LDAA    #$10
compared
        STAA    TFLG1,X
        INC     VARS+8
        RTI

input_capture1_handler
        LDAA    #$04
        BRA     captured
input_capture2_handler
        LDAA    #$02
        BRA     captured
input_capture3_handler
        LDAA    #$01
captured
        STAA    TFLG1,X
        LDD     TIC1,X
        STD     VARS+10
        INC     VARS+12
        RTI

timer_overflow_handler
        LDAA    #$80
        BRA     flagged2
rti_handler
        LDD     TCNT,X                  ; TCNT sampled in a handler
        STD     VARS+14
        LDAA    #$40
        BRA     flagged2
pulse_accumulator_input_handler
        LDAA    #$10
        BRA     flagged2
pulse_accumulator_overflow_handler
        LDAA    #$20
flagged2
        STAA    TFLG2,X
        INC     VARS+16
        RTI

* The vectors this program serves; the others stay 0.
output_compare1_vector SET output_compare1_handler
output_compare2_vector SET output_compare2_handler
output_compare3_vector SET output_compare3_handler
output_compare4_vector SET output_compare4_handler
input_capture1_vector SET input_capture1_handler
input_capture2_vector SET input_capture2_handler
input_capture3_vector SET input_capture3_handler
timer_overflow_vector SET timer_overflow_handler
rti_vector SET rti_handler
pulse_accumulator_input_vector SET pulse_accumulator_input_handler
pulse_accumulator_overflow_vector SET pulse_accumulator_overflow_handler
        INCLUDE "vectors.inc"
        END     start

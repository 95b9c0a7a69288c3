* Enables the interrupt sources a typed key names, then waits with WAI until three
* interrupts have come and says "woke". Keys: c IC1, i IC1-IC3 and SPI, p the pulse
* accumulator's input edge, s SCI, q PAOV and PAI with the time gate closed (PA7 low,
* counting while high), g PAOV with the gate open (counting while low), r RTI, o OC2,
* t timer overflow.
        INCLUDE "vector_defaults.inc"
TERMINAL EQU    $1037
TMSK1   EQU     $1022
TFLG1   EQU     $1023
TMSK2   EQU     $1024
TFLG2   EQU     $1025
PACTL   EQU     $1026
SPCR    EQU     $1028
SCCR2   EQU     $102D
COUNT   EQU     $4000

        ORG     $2000
start   LDS     #$01FF
        CLR     COUNT
        LDAA    TERMINAL
        CMPA    #'c
        BNE     not_c
        LDAB    #$04
        STAB    TMSK1
        BRA     wait
not_c   CMPA    #'i
        BNE     not_i
        LDAB    #$07
        STAB    TMSK1
        LDAB    #$80
        STAB    SPCR
        BRA     wait
not_i   CMPA    #'p
        BNE     not_p
        LDAB    #$40                    ; event counting
        STAB    PACTL
        LDAB    #$10                    ; PAII
        STAB    TMSK2
        BRA     wait
not_p   CMPA    #'s
        BNE     not_s
        LDAB    #$20                    ; RIE
        STAB    SCCR2
        BRA     wait
not_s   CMPA    #'q
        BNE     not_q
        LDAB    #$60                    ; time, while PA7 is high
        STAB    PACTL
        LDAB    #$30                    ; PAOVI, PAII
        STAB    TMSK2
        BRA     wait
not_q   CMPA    #'g
        BNE     not_g
        LDAB    #$70                    ; time, while PA7 is low
        STAB    PACTL
        LDAB    #$20                    ; PAOVI
        STAB    TMSK2
        BRA     wait
not_g   CMPA    #'r
        BNE     not_r
        LDAB    #$40                    ; RTII
        STAB    TMSK2
        BRA     wait
not_r   CMPA    #'o
        BNE     not_o
        LDAB    #$40                    ; OC2I
        STAB    TMSK1
        BRA     wait
not_o   LDAB    #$80                    ; TOI
        STAB    TMSK2
wait    CLI
again   WAI
        LDAA    COUNT
        CMPA    #3
        BNE     again
        LDX     #message
next    LDAA    0,X
        BEQ     done
        STAA    TERMINAL
        INX
        BRA     next
done    STOP
halt    BRA     halt

* Every source comes here: its flags are cleared and the interrupt counted.
input_capture1_handler
input_capture2_handler
input_capture3_handler
output_compare2_handler
pulse_accumulator_input_handler
pulse_accumulator_overflow_handler
timer_overflow_handler
rti_handler
sci_handler
spi_handler
        LDAA    #$FF
        STAA    TFLG1
        LDAA    #$F0
        STAA    TFLG2
        INC     COUNT
        RTI

message FCC     "woke"
        FCB     $0D,$0A,0

* The vectors this program serves; the others stay 0.
input_capture1_vector SET input_capture1_handler
input_capture2_vector SET input_capture2_handler
input_capture3_vector SET input_capture3_handler
output_compare2_vector SET output_compare2_handler
pulse_accumulator_input_vector SET pulse_accumulator_input_handler
pulse_accumulator_overflow_vector SET pulse_accumulator_overflow_handler
timer_overflow_vector SET timer_overflow_handler
rti_vector SET rti_handler
sci_vector SET sci_handler
spi_vector SET spi_handler
        INCLUDE "vectors.inc"
        END     start

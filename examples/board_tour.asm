* A tour of the board for the front panel: everything below happens at once.
*
* - Port B's LEDs count up four times a second. Output compare 2 interrupts every 10 ms
*   of the 2 MHz E clock; the handler divides those ticks by 25 and steps PORTB.
* - The eight sliders are the A/D converter's inputs AN0-AN7. Every 40 ms one group of
*   four channels is converted; when a full set differs from the one last printed, the
*   program prints a line with all eight values.
* - Typed keys are echoed; Enter starts a new line.
* - Clicking the PA0 input LED is an edge on input capture 3: the chip latches TCNT into
*   TIC3 and interrupts. The program prints the new level and the time of the edge, and
*   PA6, the one port A pin made an output, shows the same level.
*
* The main loop only polls: the terminal status port, and counters that the two interrupt
* handlers advance. It never waits inside a register access, so a key, a click and a tick
* are each handled within a pass of the loop.

                INCLUDE "hc11f1.inc"

PA0             EQU     %00000001
PA6             EQU     %01000000
TICK_CYCLES     EQU     20000           ; 10 ms of E clock
COUNT_TICKS     EQU     25              ; port B steps every 250 ms
SAMPLE_TICKS    EQU     4               ; a group of four channels every 40 ms
SETTLE_SAMPLES  EQU     4               ; 160 ms: the converter settles ~148 ms after ADPU

* Variables in the on-chip RAM. A reset keeps the RAM's contents, so start sets them all.
                ORG     $0000
count_divider   RMB     1               ; ticks left until port B steps
sample_divider  RMB     1               ; ticks left until the next sample request
samples_requested RMB   1               ; advanced by the tick handler...
samples_served  RMB     1               ; ...and caught up with by the main loop
clicks          RMB     1               ; PA0 edges, advanced by the capture handler
clicks_served   RMB     1
settling        RMB     1               ; sample requests to let pass before converting
group           RMB     1               ; the group converting now: 0 (AN0-AN3) or 4
printed_once    RMB     1               ; nonzero once a line of values was printed
mid_line        RMB     1               ; nonzero while echoed keys end mid-line
channel         RMB     1               ; the channel being printed
latest          RMB     8               ; the last full set of eight samples
printed         RMB     8               ; the eight values last printed
variables_end   EQU     *

                ORG     $2000
start           LDS     #RAM_TOP
                LDAA    #ADPU|DLY
                STAA    OPTION          ; fully writable only in the first 64 cycles
                LDX     #0
clear           CLR     0,X
                INX
                CPX     #variables_end
                BNE     clear
                LDAA    #COUNT_TICKS
                STAA    count_divider
                LDAA    #SAMPLE_TICKS
                STAA    sample_divider
                LDAA    #SETTLE_SAMPLES
                STAA    settling
                CLRA
                STAA    PORTB
                STAA    PORTA
                LDAA    #PA6            ; PA6 an output, the other pins inputs
                STAA    DDRA
                LDAA    #ESCAPE         ; ESCAPE, 0: clear the screen
                STAA    TERMINAL
                CLRA
                STAA    TERMINAL
                LDX     #banner
                JSR     print
                LDAA    #IC3_EITHER_EDGE
                STAA    TCTL2
                LDD     TCNT
                ADDD    #TICK_CYCLES
                STD     TOC2
                LDAA    #OC2F|IC3F
                STAA    TFLG1           ; no stale flags
                STAA    TMSK1           ; both interrupts on
                CLI

main            LDAA    STATUS          ; polling: a read of TERMINAL would wait for a key
                BEQ     no_key
                LDAA    TERMINAL
                BSR     echo
no_key          LDAA    clicks
                CMPA    clicks_served
                BEQ     no_click
                STAA    clicks_served   ; edges that came together are reported once
                JSR     report_click
no_click        LDAA    samples_requested
                CMPA    samples_served
                BEQ     main
                STAA    samples_served
                JSR     sample
                BRA     main

* Shows the key in A; Enter starts a new line. Other control keys except backspace are
* not shown: an ESCAPE would start a screen command.
echo            CMPA    #CR
                BEQ     echo_enter
                CMPA    #BS
                BEQ     echo_shown
                CMPA    #$20
                BLO     echo_done
echo_shown      LDAB    #1
                STAB    mid_line
                JMP     put
echo_enter      CLR     mid_line
                JMP     new_line
echo_done       RTS

* Starts a new line if echoed keys left the cursor in the middle of one.
fresh_line      TST     mid_line
                BEQ     echo_done
                CLR     mid_line
                JMP     new_line

* Prints D as four hexadecimal digits.
print_hex_word  PSHB
                BSR     print_hex_byte
                PULA
print_hex_byte  PSHA
                LSRA
                LSRA
                LSRA
                LSRA
                BSR     print_hex_digit
                PULA
                ANDA    #$0F
print_hex_digit ADDA    #'0
                CMPA    #'9
                BLS     hex_digit_shown
                ADDA    #7              ; on from '9' to 'A'
hex_digit_shown JMP     put

* PA0 changed level: say which, and when the capture latched it; PA6 follows.
report_click    BSR     fresh_line
                LDX     #pa0_text
                JSR     print
                LDAA    PORTA           ; the level now, read from the pin
                ANDA    #PA0
                BEQ     went_low
                LDX     #high_text
                LDAA    #PA6
                BRA     tell
went_low        LDX     #low_text
                CLRA
tell            STAA    PORTA           ; only PA6 is an output: the other bits are latched
                JSR     print
                LDX     #captured_text
                JSR     print
                LDD     TIC3            ; TCNT at the edge
                BSR     print_hex_word
                JMP     new_line

* One step of the converter, every sample request: read the group that was converting,
* start the other one, and after AN4-AN7 compare the full set with the one printed.
sample          LDAA    settling
                BEQ     read_group
                DECA
                STAA    settling
                BNE     sample_done
                BRA     start_group     ; settled now: the first conversion
read_group      LDAA    ADCTL
                BPL     sample_done     ; CCF clear: the four conversions are not finished
                LDAB    group
                LDX     #latest
                ABX
                LDY     #ADR1
copy_result     LDAA    0,Y
                STAA    0,X
                INX
                INY
                CPY     #ADR1+4
                BNE     copy_result
                LDAA    group
                EORA    #4
                STAA    group
                BSR     start_group
                TST     group
                BEQ     show_if_changed ; AN4-AN7 were just read: the set is complete
sample_done     RTS
start_group     LDAA    group
                ORAA    #MULT
                STAA    ADCTL           ; four conversions, 32 cycles each, then CCF
                RTS

show_if_changed TST     printed_once
                BEQ     show_values
                LDX     #latest
compare         LDAA    0,X
                CMPA    printed-latest,X
                BNE     show_values
                INX
                CPX     #latest+8
                BNE     compare
                RTS
show_values     LDAA    #1
                STAA    printed_once
                JSR     fresh_line
                LDX     #ad_text
                JSR     print
                CLR     channel
show_channel    LDAB    channel
                LDX     #latest
                ABX
                LDAB    0,X
                STAB    printed-latest,X
                PSHB
                LDX     #an_text
                JSR     print
                LDAB    channel
                JSR     put_digit
                LDAA    #'=
                JSR     put
                PULB
                JSR     print_dec3
                INC     channel
                LDAA    channel
                CMPA    #8
                BNE     show_channel
                JMP     new_line

* Every 10 ms: the next compare one period on (no drift), port B and sampling dividers.
oc2_handler     LDD     TOC2
                ADDD    #TICK_CYCLES
                STD     TOC2
                LDAA    #OC2F
                STAA    TFLG1           ; writing a 1 clears the flag and its request
                DEC     count_divider
                BNE     count_done
                LDAA    #COUNT_TICKS
                STAA    count_divider
                LDAA    PORTB
                INCA
                STAA    PORTB
count_done      DEC     sample_divider
                BNE     tick_done
                LDAA    #SAMPLE_TICKS
                STAA    sample_divider
                INC     samples_requested
tick_done       RTI

* A PA0 edge (either way): the main loop reports it.
ic3_handler     LDAA    #IC3F
                STAA    TFLG1
                INC     clicks
                RTI

                INCLUDE "terminal.inc"

banner          FCC     "68HC11F1 board tour"
                FCB     CR,LF
                FCC     "Port B LEDs count four times a second (output compare 2 interrupt)."
                FCB     CR,LF
                FCC     "Move a slider: the A/D values AN0-AN7 are printed when they change."
                FCB     CR,LF
                FCC     "Click the PA0 input LED: the program reports it and PA6 follows."
                FCB     CR,LF
                FCC     "Type: keys are echoed."
                FCB     CR,LF,CR,LF,0
pa0_text        FCC     "PA0 went "
                FCB     0
high_text       FCC     "high"
                FCB     0
low_text        FCC     "low"
                FCB     0
captured_text   FCC     ", captured at TCNT $"
                FCB     0
ad_text         FCC     "A/D"
                FCB     0
an_text         FCC     "  AN"
                FCB     0

                ORG     OC2_VECTOR
                FDB     oc2_handler
                ORG     IC3_VECTOR
                FDB     ic3_handler
                ORG     RESET_VECTOR
                FDB     start

                END     start

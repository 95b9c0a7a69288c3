; A tour of the board for the front panel: everything below happens at once.
;
; - Port B's LEDs count up four times a second. Output compare 2 interrupts every 10 ms
;   of the 2 MHz E clock; the handler divides those ticks by 25 and steps PORTB.
; - The eight sliders are the A/D converter's inputs AN0-AN7. Every 40 ms one group of
;   four channels is converted; when a full set differs from the one last printed, the
;   program prints a line with all eight values.
; - Typed keys are echoed; Enter starts a new line (the terminal returns to column 1 on
;   a CR alone, so a LF follows).
; - Clicking the PA0 input LED is an edge on input capture 3: the chip latches TCNT into
;   TIC3 and interrupts. The program prints the new level and the time of the edge, and
;   PA6, the one port A pin made an output, shows the same level.
;
; The main loop only polls: the terminal status port, and counters that the two interrupt
; handlers advance. It never waits inside a register access, so a key, a click and a tick
; are each handled within a pass of the loop.

        .equ    PORTA, 0x1000
        .equ    DDRA, 0x1001
        .equ    PORTB, 0x1004
        .equ    TCNT, 0x100E
        .equ    TIC3, 0x1014
        .equ    TOC2, 0x1018
        .equ    TCTL2, 0x1021
        .equ    TMSK1, 0x1022
        .equ    TFLG1, 0x1023
        .equ    ADCTL, 0x1030
        .equ    ADR1, 0x1031
        .equ    STATUS, 0x1036          ; 1 while typed input waits, else 0
        .equ    TERMINAL, 0x1037        ; read: the next typed key; write: to the screen
        .equ    OPTION, 0x1039

        .equ    OC2F, 0x40              ; TFLG1 and TMSK1 bits
        .equ    IC3F, 0x01
        .equ    PA0, 0x01
        .equ    PA6, 0x40
        .equ    IC3_EITHER_EDGE, 0x03   ; TCTL2 EDG3B:EDG3A
        .equ    ADPU, 0x80              ; OPTION: A/D powered up
        .equ    DLY, 0x10               ; OPTION: oscillator start-up delay, as after reset
        .equ    MULT, 0x10              ; ADCTL: four channels, AN0-AN3 or (with 4) AN4-AN7
        .equ    ESCAPE, 7               ; the terminal's command prefix; 7, 0 clears it

        .equ    TICK_CYCLES, 20000      ; 10 ms of E clock
        .equ    COUNT_TICKS, 25         ; port B steps every 250 ms
        .equ    SAMPLE_TICKS, 4         ; a group of four channels every 40 ms
        .equ    SETTLE_SAMPLES, 4       ; 160 ms: the converter settles ~148 ms after ADPU

; Variables in the on-chip RAM. A reset keeps the RAM's contents, so _start sets them all.
        .equ    count_divider, 0x00     ; ticks left until port B steps
        .equ    sample_divider, 0x01    ; ticks left until the next sample request
        .equ    samples_requested, 0x02 ; advanced by the tick handler...
        .equ    samples_served, 0x03    ; ...and caught up with by the main loop
        .equ    clicks, 0x04            ; PA0 edges, advanced by the capture handler
        .equ    clicks_served, 0x05
        .equ    settling, 0x06          ; sample requests to let pass before converting
        .equ    group, 0x07             ; the group converting now: 0 (AN0-AN3) or 4
        .equ    printed_once, 0x08      ; nonzero once a line of values was printed
        .equ    mid_line, 0x09          ; nonzero while echoed keys end mid-line
        .equ    channel, 0x0A           ; the channel being printed
        .equ    latest, 0x10            ; the last full set of eight samples
        .equ    printed, 0x18           ; the eight values last printed
        .equ    variables_end, 0x20
        .equ    STACK_TOP, 0x03FF       ; the top of the on-chip RAM

        .section .text
        .globl  _start
_start:
        lds     #STACK_TOP
        ldaa    #ADPU | DLY
        staa    OPTION                  ; fully writable only in the first 64 cycles
        ldx     #0
clear:  clr     0,x
        inx
        cpx     #variables_end
        bne     clear
        ldaa    #COUNT_TICKS
        staa    *count_divider
        ldaa    #SAMPLE_TICKS
        staa    *sample_divider
        ldaa    #SETTLE_SAMPLES
        staa    *settling
        clra
        staa    PORTB
        staa    PORTA
        ldaa    #PA6                    ; PA6 an output, the other pins inputs
        staa    DDRA
        ldaa    #ESCAPE
        staa    TERMINAL
        clra
        staa    TERMINAL
        ldx     #banner
        jsr     print
        ldaa    #IC3_EITHER_EDGE
        staa    TCTL2
        ldd     TCNT
        addd    #TICK_CYCLES
        std     TOC2
        ldaa    #OC2F | IC3F
        staa    TFLG1                   ; no stale flags
        staa    TMSK1                   ; both interrupts on
        cli

main:   ldaa    STATUS                  ; polling: a read of TERMINAL would wait for a key
        beq     no_key
        ldaa    TERMINAL
        bsr     echo
no_key: ldaa    *clicks
        cmpa    *clicks_served
        beq     no_click
        staa    *clicks_served          ; edges that came together are reported once
        jsr     report_click
no_click:
        ldaa    *samples_requested
        cmpa    *samples_served
        beq     main
        staa    *samples_served
        jsr     sample
        bra     main

; Shows the key in A; a CR becomes CR LF. Other control keys except backspace are not
; shown: a 7 would start a terminal command.
echo:   cmpa    #0x0D
        beq     echo_enter
        cmpa    #0x08
        beq     echo_shown
        cmpa    #0x20
        blo     done
echo_shown:
        ldab    #1
        stab    *mid_line
        bra     put
echo_enter:
        clr     mid_line
        ldx     #crlf
        bra     print

; Starts a new line if echoed keys left the cursor in the middle of one.
fresh_line:
        tst     mid_line
        beq     done
        clr     mid_line
        ldx     #crlf
; Prints the zero-terminated text at X.
print:  ldaa    0,x
        beq     done
        bsr     put
        inx
        bra     print

put:    staa    TERMINAL
done:   rts

; Prints D as four hexadecimal digits.
print_hex_word:
        pshb
        bsr     print_hex_byte
        pula
print_hex_byte:
        psha
        lsra
        lsra
        lsra
        lsra
        bsr     print_hex_digit
        pula
        anda    #0x0F
print_hex_digit:
        adda    #0x30
        cmpa    #0x39
        bls     put
        adda    #7                      ; 'A' to 'F'
        bra     put

; Prints B as three decimal digits, as the panel's read-outs show a slider.
print_decimal3:
        clra
        ldx     #100
        idiv                            ; X = hundreds, D = the rest
        pshb
        xgdx
        tba
        bsr     print_digit
        pulb
        clra
        ldx     #10
        idiv                            ; X = tens, B = ones
        pshb
        xgdx
        tba
        bsr     print_digit
        pula
print_digit:
        adda    #0x30
        bra     put

; PA0 changed level: say which, and when the capture latched it; PA6 follows.
report_click:
        bsr     fresh_line
        ldx     #pa0_text
        bsr     print
        ldaa    PORTA                   ; the level now, read from the pin
        anda    #PA0
        beq     went_low
        ldx     #high_text
        ldaa    #PA6
        bra     tell
went_low:
        ldx     #low_text
        clra
tell:   staa    PORTA                   ; only PA6 is an output: the other bits are latched
        bsr     print
        ldx     #captured_text
        bsr     print
        ldd     TIC3                    ; TCNT at the edge
        bsr     print_hex_word
        ldx     #crlf
        bra     print

; One step of the converter, every sample request: read the group that was converting,
; start the other one, and after AN4-AN7 compare the full set with the one printed.
sample: ldaa    *settling
        beq     read_group
        deca
        staa    *settling
        bne     done
        bra     start_group             ; settled now: the first conversion
read_group:
        ldaa    ADCTL
        bpl     done                    ; CCF clear: the four conversions are not finished
        ldab    *group
        ldx     #latest
        abx
        ldy     #ADR1
copy_result:
        ldaa    0,y
        staa    0,x
        inx
        iny
        cpy     #ADR1 + 4
        bne     copy_result
        ldaa    *group
        eora    #4
        staa    *group
        bsr     start_group
        tst     group
        beq     show_if_changed         ; AN4-AN7 were just read: the set is complete
        rts
start_group:
        ldaa    *group
        oraa    #MULT
        staa    ADCTL                   ; four conversions, 32 cycles each, then CCF
        rts

show_if_changed:
        tst     printed_once
        beq     show_values
        ldx     #latest
compare:
        ldaa    0,x
        cmpa    printed - latest,x
        bne     show_values
        inx
        cpx     #latest + 8
        bne     compare
        rts
show_values:
        ldaa    #1
        staa    *printed_once
        jsr     fresh_line
        ldx     #ad_text
        jsr     print
        clr     channel
show_channel:
        ldab    *channel
        ldx     #latest
        abx
        ldab    0,x
        stab    printed - latest,x
        pshb
        ldx     #an_text
        jsr     print
        ldaa    *channel
        bsr     print_digit
        ldaa    #0x3D                   ; '='
        jsr     put
        pulb
        jsr     print_decimal3
        inc     channel
        ldaa    *channel
        cmpa    #8
        bne     show_channel
        ldx     #crlf
        jmp     print

; Every 10 ms: the next compare one period on (no drift), port B and sampling dividers.
output_compare2_handler:
        ldd     TOC2
        addd    #TICK_CYCLES
        std     TOC2
        ldaa    #OC2F
        staa    TFLG1                   ; writing a 1 clears the flag and its request
        dec     count_divider
        bne     count_done
        ldaa    #COUNT_TICKS
        staa    *count_divider
        ldaa    PORTB
        inca
        staa    PORTB
count_done:
        dec     sample_divider
        bne     tick_done
        ldaa    #SAMPLE_TICKS
        staa    *sample_divider
        inc     samples_requested
tick_done:
        rti

; A PA0 edge (either way): the main loop reports it.
input_capture3_handler:
        ldaa    #IC3F
        staa    TFLG1
        inc     clicks
        rti

banner: .ascii  "68HC11F1 board tour\r\n"
        .ascii  "Port B LEDs count four times a second (output compare 2 interrupt).\r\n"
        .ascii  "Move a slider: the A/D values AN0-AN7 are printed when they change.\r\n"
        .ascii  "Click the PA0 input LED: the program reports it and PA6 follows.\r\n"
        .asciz  "Type: keys are echoed.\r\n\r\n"
pa0_text:
        .asciz  "PA0 went "
high_text:
        .asciz  "high"
low_text:
        .asciz  "low"
captured_text:
        .asciz  ", captured at TCNT $"
ad_text:
        .asciz  "A/D"
an_text:
        .asciz  "  AN"
crlf:   .byte   0x0D, 0x0A, 0

        .include "vectors.inc"

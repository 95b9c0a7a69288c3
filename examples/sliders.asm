* The sliders AN0-AN7 through the A/D converter: their eight values on one terminal line,
* redrawn in place whenever one changes, and AN0 as a bar graph on port B's LEDs.
*
* The converter turns a voltage into 0-255. Writing ADCTL starts a sequence of four
* conversions (32 E cycles each) into ADR1-ADR4; with MULT set they are four channels,
* AN0-AN3 or AN4-AN7, and CCF in ADCTL sets when all four are done. The program converts
* one group, then the other, over and over, polling CCF.

                INCLUDE "hc11f1.inc"

SETTLE_LOOPS    EQU     65535           ; 6 cycles each: 197 ms

                ORG     $0000
latest          RMB     8               ; the values just converted, AN0 first
shown           RMB     8               ; the values on the screen
shown_once      RMB     1               ; nonzero once a line was drawn
channel         RMB     1               ; the channel being drawn

                ORG     $2000
* OPTION first: most of its bits can be written only in the first 64 cycles after a reset.
start           LDS     #RAM_TOP
                LDAA    #ADPU|DLY
                STAA    OPTION          ; power the converter up
                CLR     shown_once
                CLR     PORTB
                LDX     #title
                JSR     print
* The converter's charge pump needs time after ADPU before a conversion is right: this
* board's about 150 ms. A counted loop waits: DEX takes 3 cycles, BNE 3.
                LDX     #SETTLE_LOOPS
settle          DEX
                BNE     settle

main            CLRA                    ; AN0-AN3
                BSR     convert
                LDAA    #4              ; AN4-AN7
                BSR     convert
                BSR     show_bar
                BSR     show_if_changed
                BRA     main

* Converts the group of four channels that starts at channel A (0 or 4) into latest.
convert         TAB                     ; B = the first channel, the offset in latest
                ORAA    #MULT
                STAA    ADCTL           ; writing ADCTL starts the sequence and clears CCF
wait_ccf        LDAA    ADCTL
                BPL     wait_ccf        ; CCF is bit 7, the sign bit
                LDX     #latest
                ABX
                LDY     #ADR1
copy            LDAA    0,Y
                STAA    0,X
                INX
                INY
                CPY     #ADR1+4
                BNE     copy
                RTS

* AN0 as a bar: (value + 31) / 32 LEDs lit from PB0 up, so 0 lights none, 1-32 one and
* 225-255 all eight.
show_bar        LDAB    latest
                CLRA
                ADDD    #31             ; 16 bits: 255 + 31 does not fit a byte
                LSRD
                LSRD
                LSRD
                LSRD
                LSRD                    ; B = 0-8
                CLRA
bar             TSTB
                BEQ     bar_done
                SEC
                ROLA                    ; one more LED: a 1 shifted in at PB0
                DECB
                BRA     bar
bar_done        STAA    PORTB
                RTS

* Redraws the line when any value differs from the one shown.
show_if_changed TST     shown_once
                BEQ     show_values
                LDX     #latest
compare         LDAA    0,X
                CMPA    shown-latest,X
                BNE     show_values
                INX
                CPX     #latest+8
                BNE     compare
                RTS
show_values     LDAA    #1
                STAA    shown_once
                LDAA    #CR             ; back to column 1: the new line covers the old
                JSR     put
                CLR     channel
show_channel    LDX     #an_text
                JSR     print
                LDAB    channel
                JSR     put_digit
                LDAA    #'=
                JSR     put
                LDX     #latest
                LDAB    channel
                ABX
                LDAB    0,X
                STAB    shown-latest,X
                JSR     print_dec3
                LDAA    #$20            ; a blank after each value
                JSR     put
                INC     channel
                LDAA    channel
                CMPA    #8
                BNE     show_channel
                RTS

                INCLUDE "terminal.inc"

title           FCC     "Sliders AN0-AN7 (A/D converter); port B shows AN0 as a bar"
                FCB     CR,LF,0
an_text         FCC     "AN"
                FCB     0

                ORG     RESET_VECTOR
                FDB     start

                END     start

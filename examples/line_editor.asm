* A line editor on the terminal: type a line after the prompt, correct it with Backspace,
* end it with Enter; the program shows it upper-cased and reversed, then asks again.
*
* The typed characters are kept in a buffer in the on-chip RAM. The screen only shows
* them: Backspace takes the last one out of the buffer and, on the screen, moves the
* cursor back over it (this terminal's BS blanks the cell it moves onto). A full buffer
* takes no more keys, so the line can never run past it into other memory.

                INCLUDE "hc11f1.inc"

LINE_SIZE       EQU     64              ; the output lines, labels and all, fit 80 columns

                ORG     $0000
length          RMB     1               ; characters in the buffer
line            RMB     LINE_SIZE

                ORG     $2000
start           LDS     #RAM_TOP
                LDX     #title
                JSR     print
prompt          LDX     #prompt_text
                JSR     print
                CLR     length

* Keys are polled: STATUS reads 1 once a key waits, and then TERMINAL gives it.
next_key        LDAA    STATUS
                BEQ     next_key
                LDAA    TERMINAL
                CMPA    #CR             ; Enter
                BEQ     enter
                CMPA    #BS
                BEQ     rub_out
                CMPA    #DEL
                BEQ     rub_out
                CMPA    #$20
                BLO     next_key        ; other control keys: ESCAPE would start a command
                LDAB    length
                CMPB    #LINE_SIZE
                BHS     next_key        ; full: the key is dropped
                LDX     #line
                ABX                     ; X = the first free place
                STAA    0,X
                INC     length
                JSR     put             ; echo: the user sees the key in its place
                BRA     next_key

rub_out         TST     length
                BEQ     next_key        ; nothing to take back
                DEC     length
                LDAA    #BS
                JSR     put
                BRA     next_key

enter           JSR     new_line
                LDX     #upper_text
                JSR     print
                BSR     show_upper
                JSR     new_line
                LDX     #reversed_text
                JSR     print
                BSR     show_reversed
                JSR     new_line
                BRA     prompt

* The line with a-z as A-Z: in ASCII a small letter is its capital plus $20.
show_upper      LDAB    length
                BEQ     upper_done
                LDX     #line
upper_next      LDAA    0,X
                CMPA    #'a
                BLO     upper_shown
                CMPA    #'z
                BHI     upper_shown
                SUBA    #$20
upper_shown     JSR     put
                INX
                DECB
                BNE     upper_next
upper_done      RTS

* The line from its last character back to its first.
show_reversed   LDAB    length
                BEQ     reversed_done
                LDX     #line
                ABX                     ; X = just past the last character
reversed_next   DEX
                LDAA    0,X
                JSR     put
                CPX     #line
                BNE     reversed_next
reversed_done   RTS

                INCLUDE "terminal.inc"

title           FCC     "Line editor: type a line, Backspace corrects it, Enter ends it."
                FCB     CR,LF,0
prompt_text     FCC     "> "
                FCB     0
upper_text      FCC     "upper:    "
                FCB     0
reversed_text   FCC     "reversed: "
                FCB     0

                ORG     RESET_VECTOR
                FDB     start

                END     start

* A line echo through the chip's serial port (SCI), driven by its interrupts.
*
* Typed characters arrive in SCDR one frame apart (1.04 ms at 9,600 baud); each sets RDRF,
* and with RIE on that calls the SCI handler, which moves the byte into a receive ring.
* The main program takes characters from that ring, echoes them, and at Enter shows the
* whole line again. What it sends goes into a transmit ring; with TIE on, the handler
* is called whenever SCDR can take another byte (TDRE) and feeds it from the ring,
* turning TIE off when the ring runs dry. While there is nothing to do the CPU sleeps
* in WAI. (With View > Warnings on, the panel reports each wake-up from WAI.)
*
* One handler serves both directions: the chip has one SCI vector. Reading SCSR and then
* SCDR clears RDRF; reading SCSR and then writing SCDR clears TDRE.

                INCLUDE "hc11f1.inc"

RING_MASK       EQU     31              ; rings of 32 bytes, indexes wrap by AND
LINE_MAX        EQU     60

                ORG     $0000
rx_ring         RMB     RING_MASK+1
tx_ring         RMB     RING_MASK+1
rx_in           RMB     1               ; moved on by the handler
rx_out          RMB     1               ; moved on by the main program
tx_in           RMB     1               ; moved on by the main program
tx_out          RMB     1               ; moved on by the handler
line_length     RMB     1
line            RMB     LINE_MAX
variables_end   EQU     *

                ORG     $2000
start           LDS     #RAM_TOP
                LDX     #0
clear           CLR     0,X             ; a reset keeps the RAM: start from zero
                INX
                CPX     #variables_end
                BNE     clear
                LDAA    #BAUD_9600
                STAA    BAUD
                LDAA    #RIE+TE+RE
                STAA    SCCR2
                CLI
                LDX     #title
                BSR     send_text

new_line        CLR     line_length
                LDX     #prompt_text
                BSR     send_text
next_key        BSR     get_key
                CMPA    #CR
                BEQ     line_done
                LDAB    line_length
                CMPB    #LINE_MAX
                BHS     next_key        ; the line is full: only Enter is taken
                LDX     #line
                ABX
                STAA    0,X
                INC     line_length
                BSR     send            ; the echo
                BRA     next_key
line_done       LDX     #got_text
                BSR     send_text
                LDX     #line
                LDAB    line_length
show_line       BEQ     shown
                LDAA    0,X
                BSR     send
                INX
                DECB
                BRA     show_line
shown           LDAA    #CR
                BSR     send
                LDAA    #LF
                BSR     send
                BRA     new_line

* The next character from the receive ring into A, sleeping until there is one.
get_key         LDAB    rx_out
                CMPB    rx_in
                BNE     take_key
                WAI                     ; the SCI's interrupt wakes the CPU
                BRA     get_key
take_key        LDX     #rx_ring
                ABX
                LDAA    0,X
                INCB
                ANDB    #RING_MASK
                STAB    rx_out
                LDX     #SCCR2
                BSET    0,X,#RIE         ; the ring has room again
                RTS

* Sends the text at X up to its zero byte.
send_text       LDAA    0,X
                BEQ     sent_text
                BSR     send
                INX
                BRA     send_text
sent_text       RTS

* Puts A into the transmit ring, sleeping while it is full, and lets the handler send.
* B and X are kept.
send            PSHB
                PSHX
send_wait       LDAB    tx_in
                INCB
                ANDB    #RING_MASK
                CMPB    tx_out
                BNE     send_room
                WAI                     ; full: a byte leaving makes room
                BRA     send_wait
send_room       LDX     #tx_ring
                PSHB
                LDAB    tx_in
                ABX
                STAA    0,X
                PULB
                STAB    tx_in
                LDX     #SCCR2
                BSET    0,X,#TIE         ; the handler takes it from here
                PULX
                PULB
                RTS

* The SCI handler: a received byte into the receive ring, and while TIE is on the next
* byte of the transmit ring into SCDR. When the receive ring is full the byte stays in
* SCDR and RIE goes off until the main program has taken a character, so nothing typed
* is lost however far ahead the user types.
sci_handler     LDAA    SCSR            ; the first half of both clearing sequences
                BITA    #RDRF
                BEQ     transmit
                LDAB    rx_in
                INCB
                ANDB    #RING_MASK
                CMPB    rx_out
                BEQ     rx_full
                PSHB                    ; where rx_in goes next
                LDAB    rx_in
                LDX     #rx_ring
                ABX
                LDAA    SCDR            ; clears RDRF
                STAA    0,X
                PULB
                STAB    rx_in
                BRA     transmit
rx_full         LDX     #SCCR2
                BCLR    0,X,#RIE
transmit        LDAA    SCCR2
                BITA    #TIE
                BEQ     handled         ; TDRE is nearly always set: it counts only with TIE
                LDAA    SCSR
                BITA    #TDRE
                BEQ     handled
                LDAB    tx_out
                CMPB    tx_in
                BEQ     tx_empty
                LDX     #tx_ring
                ABX
                LDAA    0,X
                STAA    SCDR            ; clears TDRE until the shift register takes it
                INCB
                ANDB    #RING_MASK
                STAB    tx_out
                RTI
tx_empty        LDX     #SCCR2
                BCLR    0,X,#TIE         ; nothing more to send
handled         RTI

title           FCC     "Serial echo: type a line through the SCI, Enter shows it again."
                FCB     CR,LF,0
prompt_text     FCC     "> "
                FCB     0
got_text        FCB     CR,LF
                FCC     "got: "
                FCB     0

                ORG     SCI_VECTOR
                FDB     sci_handler
                ORG     RESET_VECTOR
                FDB     start

                END     start

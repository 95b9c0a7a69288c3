* A clock on the terminal: HH:MM:SS counting up from 00:00:00, redrawn in place.
*
* The real-time interrupt (RTI) comes at a steady rate set by PACTL, at the fastest every
* 8,192 E cycles (4.1 ms at 2 MHz). That is no whole fraction of a second, so counting
* ticks alone would drift. Instead each tick reads the free-running counter TCNT, which
* counts every E cycle, and adds the cycles since the last tick to a running total; every
* 2,000,000 cycles of that total are one second. TCNT wraps every 65,536 cycles, which is
* why the ticks must come more often than that.
*
* The handler only counts seconds; the main program shows each new one. Whatever the
* printing costs, no time is lost.

                INCLUDE "hc11f1.inc"

SLICE           EQU     50000           ; E cycles: 25 ms, 40 of them to a second
SLICES          EQU     40

                ORG     $0000
last_tcnt       RMB     2               ; TCNT at the last tick
cycles          RMB     2               ; cycles counted towards the next slice
slices_left     RMB     1               ; slices until the next second
seconds_due     RMB     1               ; advanced by the handler...
seconds_shown   RMB     1               ; ...and caught up with by the main program
hours           RMB     1               ; the time shown, each 0-59 (hours 0-23)
minutes         RMB     1
seconds         RMB     1
variables_end   EQU     *

                ORG     $2000
* TMSK2 first: its prescaler bits PR1:PR0 (left 0, so TCNT counts every E cycle) can be
* written only in the first 64 cycles after a reset.
start           LDS     #RAM_TOP
                LDAA    #RTIF
                STAA    TMSK2           ; RTI on (masked until CLI)
                CLRA
                STAA    PACTL           ; RTR1:RTR0 = 00: the fastest rate
                LDX     #0
clear           CLR     0,X             ; a reset keeps the RAM: start from zero
                INX
                CPX     #variables_end
                BNE     clear
                LDAA    #SLICES
                STAA    slices_left
                LDX     #title
                JSR     print
                JSR     show_time
                LDD     TCNT
                STD     last_tcnt       ; time counts from here
                LDAA    #RTIF
                STAA    TFLG2           ; no tick from before: writing a 1 clears the flag
                CLI

* The main program waits for the handler to count a second. (WAI could stop the CPU
* until each tick, but the panel reports every WAI while View > Warnings is on.)
wait            LDAA    seconds_due     ; one byte: the handler cannot change half of it
                CMPA    seconds_shown
                BEQ     wait
                INC     seconds_shown   ; catches up one second at a time
                BSR     next_second
                BSR     show_time
                BRA     wait

* Moves the time on one second: seconds, and on their wrap minutes, and then hours.
next_second     LDX     #seconds
                LDAB    #60
                BSR     count_up
                BCC     counted
                LDX     #minutes
                LDAB    #60
                BSR     count_up
                BCC     counted
                LDX     #hours
                LDAB    #24
                BSR     count_up
counted         RTS

* Adds one to the byte at X, modulo B; the carry is set when it wrapped to 0.
count_up        LDAA    0,X
                INCA
                CBA
                BLO     count_kept      ; A < B, and the carry (borrow) is set
                CLRA
                STAA    0,X
                SEC
                RTS
count_kept      STAA    0,X
                CLC
                RTS

* CR goes back to column 1 of the same row, so the new time covers the old one.
show_time       LDAA    #CR
                JSR     put
                LDAA    hours
                BSR     print_2digits
                LDAA    #':
                JSR     put
                LDAA    minutes
                BSR     print_2digits
                LDAA    #':
                JSR     put
                LDAA    seconds
* Prints A (0-99) as two decimal digits.
print_2digits   TAB
                CLRA
                LDX     #10
                IDIV                    ; X = tens, B = ones
                XGDX
                JSR     put_digit       ; the tens
                XGDX
                JMP     put_digit       ; the ones

* The real-time interrupt: add the cycles since the last tick, and count slices and
* seconds. A 16-bit subtraction gives the right difference across a TCNT wrap.
rti_handler     LDAA    #RTIF
                STAA    TFLG2           ; clear the flag, or the interrupt comes again at once
                LDD     TCNT
                PSHB
                PSHA                    ; TCNT now, kept for the next tick
                SUBD    last_tcnt       ; cycles since the last tick
                ADDD    cycles
                PULX
                STX     last_tcnt
                CPD     #SLICE
                BLO     keep_cycles
                SUBD    #SLICE          ; a slice more; the rest counts on
                STD     cycles
                DEC     slices_left
                BNE     tick_done
                LDAA    #SLICES
                STAA    slices_left
                INC     seconds_due
                RTI
keep_cycles     STD     cycles
tick_done       RTI

                INCLUDE "terminal.inc"

title           FCC     "A clock from the real-time interrupt"
                FCB     CR,LF,0

                ORG     RTI_VECTOR
                FDB     rti_handler
                ORG     RESET_VECTOR
                FDB     start

                END     start

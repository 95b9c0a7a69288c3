* An LED chaser on port B: one lit LED runs from PB0 up to PB7 and back down, a step every
* 125 ms, driven by the output compare 2 interrupt while the main program idles.
*
* TCNT counts the 2 MHz E clock and wraps at 65,536 (32.8 ms), too short for a step, so
* the compare fires every 12.5 ms and the handler moves the LED every tenth time. Each
* interrupt sets the next compare one period past the last one, not past "now": the
* handler's own delay never adds up, and the steps keep exact time.

                INCLUDE "hc11f1.inc"

PERIOD          EQU     25000           ; E cycles between compares: 12.5 ms
STEP_TICKS      EQU     10              ; compares per step: 125 ms

                ORG     $0000
ticks_left      RMB     1               ; compares until the next step
moving_up       RMB     1               ; nonzero while the LED moves towards PB7

                ORG     $2000
start           LDS     #RAM_TOP
                LDAA    #STEP_TICKS
                STAA    ticks_left
                LDAA    #1
                STAA    moving_up
                STAA    PORTB           ; PB0 lit
                LDD     TCNT
                ADDD    #PERIOD
                STD     TOC2            ; the first compare, one period from now
                LDAA    #OC2F
                STAA    TFLG1           ; clear a flag left from before: writing a 1 clears
                STAA    TMSK1           ; OC2F now asks for an interrupt
                CLI                     ; let maskable interrupts in

* The main program has nothing else to do: the interrupt breaks into this loop 80 times
* a second, and the handler's RTI returns here. (WAI would stop the CPU until then, but the
* panel reports every WAI while View > Warnings is on.)
idle            BRA     idle

* Output compare 2: TCNT reached TOC2.
oc2_handler     LDD     TOC2
                ADDD    #PERIOD
                STD     TOC2            ; the next compare, exactly one period on
                LDAA    #OC2F
                STAA    TFLG1           ; clear the flag, or the interrupt comes again at once
                DEC     ticks_left
                BNE     handled
                LDAA    #STEP_TICKS
                STAA    ticks_left
                LDAA    PORTB           ; port B reads back the LEDs it drives
                TST     moving_up
                BEQ     step_down
                LSLA                    ; the lit bit one place up
                CMPA    #%10000000
                BNE     show
                CLR     moving_up       ; PB7 reached: turn round
                BRA     show
step_down       LSRA
                CMPA    #%00000001
                BNE     show
                INC     moving_up       ; PB0 reached: turn round
show            STAA    PORTB
handled         RTI                     ; restores the registers the interrupt stacked

                ORG     OC2_VECTOR
                FDB     oc2_handler
                ORG     RESET_VECTOR
                FDB     start

                END     start

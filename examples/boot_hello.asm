* A program for special bootstrap mode: a course board's boot loader downloads it into the
* on-chip RAM and starts it at $0000. It has no reset vector and never sets BAUD or SCCR2:
* the boot loader leaves the serial port on at 7,812 baud. Run it in bootstrap mode:
*
*     hexmoor-run --mode bootstrap boot_hello.s19
*
* or, in the window, click a mode LED (MODA or MODB) so that both go dark, then load it.
*
* It greets through the SCI, echoes each typed key in upper case, and counts the real-time
* interrupts on port B's LEDs (in a single-chip mode port B is the program's own). In the
* special modes the vectors lead to three-byte pseudo-vectors in RAM: the program puts a
* JMP to its handler into the RTI's, at $00EB.

                INCLUDE "hc11f1.inc"

RTI_PSEUDO      EQU     $00EB           ; JMP handler: where the RTI vector leads
JMP_EXTENDED    EQU     $7E             ; the opcode of JMP with a 16-bit address

                ORG     $0000
start           LDS     #RAM_TOP
                LDAA    #JMP_EXTENDED
                STAA    RTI_PSEUDO
                LDD     #tick
                STD     RTI_PSEUDO+1
                LDAA    #RTIF
                STAA    TMSK2           ; RTI on (masked until CLI)
                CLI
                LDX     #greeting
                BSR     send_text
echo            LDAA    SCSR            ; wait for a received byte
                BITA    #RDRF
                BEQ     echo
                LDAA    SCDR            ; SCSR then SCDR: RDRF clears
                CMPA    #'a'
                BLO     send_echo
                CMPA    #'z'
                BHI     send_echo
                SUBA    #'a'-'A'
send_echo       BSR     send
                BRA     echo

* A into SCDR once the transmitter can take it.
send            LDAB    SCSR
                BITB    #TDRE
                BEQ     send
                STAA    SCDR            ; SCSR then SCDR: TDRE clears
                RTS

* The zero-ended text at X.
send_text       LDAA    0,X
                BEQ     sent
                BSR     send
                INX
                BRA     send_text
sent            RTS

* Each real-time interrupt adds one to port B's LEDs.
tick            INC     ticks
                LDAA    ticks
                STAA    PORTB
                LDAA    #RTIF
                STAA    TFLG2           ; a 1 clears the flag
                RTI

ticks           FCB     0
greeting        FCC     "Hello from the on-chip RAM: type, and I echo in upper case."
                FCB     CR,LF,0

* Prints the prime numbers below 1000, ten to a line, on the terminal, then stops.
*
* Each candidate is divided by 2, 3, 4, ... until the divisor's square is larger than
* the candidate (a factor above the square root has a partner below it): a remainder of
* zero on the way means the candidate is not prime. The 68HC11 does the arithmetic in
* hardware: MUL multiplies A by B into D, IDIV divides D by X.

                INCLUDE "hc11f1.inc"

LIMIT           EQU     1000

* Variables in the on-chip RAM's first 256 bytes, where the short direct addressing
* reaches them. RMB only reserves the bytes; the program sets them.
                ORG     $0000
candidate       RMB     2               ; the number being tested
divisor         RMB     2
column          RMB     1               ; numbers printed on this line
digits          RMB     4               ; the candidate's decimal digits, highest first

                ORG     $2000
start           LDS     #RAM_TOP
                LDX     #title
                JSR     print
                CLR     column
                LDD     #2
                STD     candidate
next            LDD     #2
                STD     divisor
try             LDAA    divisor+1       ; the divisor stays below 32: its low byte is all
                LDAB    divisor+1
                MUL                     ; D = divisor * divisor
                CPD     candidate
                BHI     prime           ; past the square root: no factor found
                LDD     candidate
                LDX     divisor
                IDIV                    ; D = candidate mod divisor
                CPD     #0
                BEQ     composite
                LDX     divisor
                INX
                STX     divisor
                BRA     try
prime           BSR     print_candidate
composite       LDX     candidate
                INX
                STX     candidate
                CPX     #LIMIT
                BNE     next
                JSR     new_line
* With the S bit set, as reset leaves it, STOP does not stop the clocks: it runs as a NOP
* (the panel says so). hexmoor-run ends its run at a STOP.
                STOP
done            BRA     done

* Prints the candidate right-aligned in five columns, ten to a line.
print_candidate LDD     candidate
                LDY     #digits+3       ; the ones digit first, from the right
convert         LDX     #10
                IDIV                    ; X = the number / 10, B = the digit
                STAB    0,Y
                DEY
                XGDX                    ; D = the number / 10: the next digit
                CPY     #digits-1
                BNE     convert
                LDAA    #$20            ; a blank between numbers
                JSR     put
                LDY     #digits
                LDAB    #$20            ; blanks for the leading zeros
digit           LDAA    0,Y
                BNE     significant
                CPY     #digits+3
                BEQ     significant     ; the ones digit shows even when it is 0
                TBA
                BRA     show
significant     ADDA    #'0
                LDAB    #'0             ; zeros after the first digit are shown
show            JSR     put
                INY
                CPY     #digits+4
                BNE     digit
                INC     column
                LDAA    column
                CMPA    #10
                BNE     printed
                CLR     column
                JSR     new_line
printed         RTS

                INCLUDE "terminal.inc"

title           FCC     "Primes below 1000 on a 68HC11F1:"
                FCB     CR,LF,0

                ORG     RESET_VECTOR
                FDB     start           ; where the chip starts after a reset

                END     start

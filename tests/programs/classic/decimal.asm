* Binary to decimal text with IDIV, and a binary fraction with FDIV:
* 65535 -> "65535", 1234 -> "01234", 1/3 -> $5555 remainder 1.
        INCLUDE "vector_defaults.inc"
RESULT  EQU     $4000                   ; "65535", "01234", then the FDIV quotient and remainder
count   EQU     $0040                   ; on-chip RAM, reached with direct addressing

        ORG     $2000
start   LDS     #$01FF
        LDD     #65535
        LDY     #RESULT+4
        BSR     to_decimal
        LDD     #1234
        LDY     #RESULT+9
        BSR     to_decimal
        LDD     #1
        LDX     #3
        FDIV
        STX     RESULT+10
        STD     RESULT+12
done    BRA     done

* D: the value; Y: the last of five characters, written backwards.
to_decimal
        PSHA
        LDAA    #5
        STAA    <count
        PULA
next    LDX     #10
        IDIV                            ; X = D / 10, D = D mod 10
        ADDB    #$30                    ; '0'
        STAB    0,Y
        DEY
        XGDX                            ; the quotient goes on
        DEC     count
        BNE     next
        RTS

        INCLUDE "vectors.inc"
        END     start

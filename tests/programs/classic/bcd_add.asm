* Adds 8-digit packed BCD numbers with ADCA and DAA, carrying through C across the loop:
* 12345678 + 87654329 = 1 00000007 and 19999999 + 00000001 = 0 20000000.
        INCLUDE "vector_defaults.inc"
RESULT  EQU     $4000                   ; per sum: 4 bytes, most significant first, then carry

        ORG     $2000
start   LDS     #$01FF
        LDX     #first+3
        LDY     #RESULT+3
        BSR     bcd_add
        LDX     #second+3
        LDY     #RESULT+8
        BSR     bcd_add
done    BRA     done

* X: last byte of a (b follows a), Y: last byte of the sum; the carry goes after the sum.
* DEX, DEY and DECB leave C alone, so it carries from one byte pair to the next.
bcd_add LDAB    #4
        CLC
next    LDAA    0,X
        ADCA    4,X
        DAA
        STAA    0,Y
        DEX
        DEY
        DECB
        BNE     next
        LDAA    #0                      ; unlike CLRA, LDAA leaves C alone
        ROLA
        STAA    5,Y
        RTS

first   FCB     $12, $34, $56, $78, $87, $65, $43, $29
second  FCB     $19, $99, $99, $99, $00, $00, $00, $01

        INCLUDE "vectors.inc"
        END     start

* 16 x 16 -> 32-bit unsigned multiply from four 8 x 8 MULs:
* $1234 x $5678 = $06260060 and $FFFF x $FFFF = $FFFE0001.
        INCLUDE "vector_defaults.inc"
RESULT  EQU     $4000                   ; two 4-byte products, most significant byte first

        ORG     $2000
start   LDS     #$01FF
        LDX     #first
        LDY     #RESULT
        JSR     multiply
        LDX     #second
        LDY     #RESULT+4
        JSR     multiply
done    BRA     done

* X: a (2 bytes) then b (2 bytes); Y: the 4-byte product.
multiply
        LDAA    1,X                     ; al * bl -> bytes 2-3
        LDAB    3,X
        MUL
        STD     2,Y
        LDAA    0,X                     ; ah * bh -> bytes 0-1
        LDAB    2,X
        MUL
        STD     0,Y
        LDAA    0,X                     ; ah * bl -> bytes 1-2, carry into byte 0
        LDAB    3,X
        MUL
        BSR     add_middle
        LDAA    1,X                     ; al * bh -> bytes 1-2, carry into byte 0
        LDAB    2,X
        MUL
add_middle
        ADDD    1,Y
        STD     1,Y
        BCC     no_carry
        INC     0,Y
no_carry
        RTS

first   FDB     $1234, $5678
second  FDB     $FFFF, $FFFF

        INCLUDE "vectors.inc"
        END     start

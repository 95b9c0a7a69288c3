* Powers the A/D converter up, converts AN4-AN7 once, polls CCF and copies ADR1-ADR4.
        INCLUDE "vector_defaults.inc"
ADCTL   EQU     $1030
ADR1    EQU     $1031
OPTION  EQU     $1039
RESULT  EQU     $4000

        ORG     $2000
start   LDS     #$01FF
        LDAA    #$80
        STAA    OPTION                  ; ADPU
        LDAA    #$14
        STAA    ADCTL                   ; MULT, group AN4-AN7
poll    LDAA    ADCTL
        BPL     poll                    ; CCF is bit 7
        LDX     #ADR1
        LDY     #RESULT
copy    LDAA    0,X
        STAA    0,Y
        INX
        INY
        CPX     #ADR1+4
        BNE     copy
done    BRA     done

        INCLUDE "vectors.inc"
        END     start

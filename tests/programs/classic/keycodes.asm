* Prints the code of every key it reads, in hex followed by a space, for ever.
        INCLUDE "vector_defaults.inc"
TERMINAL EQU    $1037

        ORG     $2000
start   LDS     #$01FF
read    LDAA    TERMINAL
        TAB
        LSRA
        LSRA
        LSRA
        LSRA
        BSR     digit
        TBA
        ANDA    #$0F
        BSR     digit
        LDAA    #$20
        STAA    TERMINAL
        BRA     read

digit   ADDA    #$30                    ; '0'
        CMPA    #$39
        BLS     put
        ADDA    #7                      ; 'A' - '9' - 1
put     STAA    TERMINAL
        RTS

        INCLUDE "vectors.inc"
        END     start

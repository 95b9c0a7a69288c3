* Output compare 2 interrupts every 1000 cycles; the handler moves the compare on, clears
* OC2F and counts. The main program waits for five of them.
        INCLUDE "vector_defaults.inc"
TCNT    EQU     $100E
TOC2    EQU     $1018
TMSK1   EQU     $1022
TFLG1   EQU     $1023
COUNT   EQU     $4000

        ORG     $2000
start   LDS     #$01FF
        CLR     COUNT
        LDD     TCNT
        ADDD    #1000
        STD     TOC2
        LDAA    #$40
        STAA    TFLG1                   ; no stale OC2F
        STAA    TMSK1                   ; OC2I
        CLI
wait    LDAA    COUNT
        CMPA    #5
        BNE     wait
done    BRA     done

output_compare2_handler
        LDD     TOC2
        ADDD    #1000
        STD     TOC2
        LDAA    #$40
        STAA    TFLG1
        INC     COUNT
        RTI

* The vectors this program serves; the others stay 0.
output_compare2_vector SET output_compare2_handler
        INCLUDE "vectors.inc"
        END     start

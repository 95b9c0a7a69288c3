* Counts three real-time interrupts at the fastest rate, clearing RTIF in the handler.
        INCLUDE "vector_defaults.inc"
TMSK2   EQU     $1024
TFLG2   EQU     $1025
COUNT   EQU     $4000

        ORG     $2000
start   LDS     #$01FF
        CLR     COUNT
        LDAA    #$40
        STAA    TMSK2                   ; RTII
        CLI
wait    LDAA    COUNT
        CMPA    #3
        BNE     wait
done    BRA     done

rti_handler
        LDAA    #$40
        STAA    TFLG2
        INC     COUNT
        RTI

* The vectors this program serves; the others stay 0.
rti_vector SET rti_handler
        INCLUDE "vectors.inc"
        END     start

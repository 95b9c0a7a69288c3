* Echoes keys polled from the status port until a full stop, while a real-time interrupt
* clock counts its ticks in memory and prints a star every 8 ticks (65,536 E cycles).
        INCLUDE "vector_defaults.inc"
STATUS  EQU     $1036
TERMINAL EQU    $1037
TMSK2   EQU     $1024
TFLG2   EQU     $1025
TICKS   EQU     $0100

        ORG     $2000
start   LDS     #$01FF
        CLR     TICKS
        LDAA    #$40
        STAA    TMSK2                   ; RTII
        CLI
poll    LDAA    STATUS
        BEQ     poll
        LDAA    TERMINAL
        CMPA    #$2E                    ; '.'
        BEQ     done
        STAA    TERMINAL
        BRA     poll
done    STOP
halt    BRA     halt

rti_handler
        LDAA    #$40
        STAA    TFLG2
        INC     TICKS
        LDAA    TICKS
        ANDA    #7
        BNE     ticked
        LDAA    #$2A                    ; '*'
        STAA    TERMINAL
ticked  RTI

* The vectors this program serves; the others stay 0.
rti_vector SET rti_handler
        INCLUDE "vectors.inc"
        END     start

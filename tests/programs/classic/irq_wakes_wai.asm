* Waits for interrupts three times: each IRQ wakes the WAI, the handler counts it and RTI
* returns after the WAI.
        INCLUDE "vector_defaults.inc"
COUNT   EQU     $4000

        ORG     $2000
start   LDS     #$01FF
        CLR     COUNT
        CLI
again   WAI
        LDAA    COUNT
        CMPA    #3
        BNE     again
done    BRA     done

irq_handler
        INC     COUNT
        RTI

* The vectors this program serves; the others stay 0.
irq_vector SET irq_handler
        INCLUDE "vectors.inc"
        END     start

* Moves the register block to $4000 and the on-chip RAM to $9000 with INIT in its first
* instructions, then works with the new map: a RAM variable, a timer register written and
* read back through its new address, and plain memory where the registers used to be.
        INCLUDE "vector_defaults.inc"
INIT_OLD EQU    $103D
TOC2_NEW EQU    $4018
RAM_NEW EQU     $9000

        ORG     $2000
start   LDAA    #$94                    ; registers at $4000, RAM at $9000
        STAA    INIT_OLD
        LDS     #RAM_NEW+$3FF
        LDD     #$1234
        STD     TOC2_NEW
        LDX     TOC2_NEW                ; read back through the register window
        STX     RAM_NEW
        LDAA    #$5A
        STAA    $1018                   ; plain memory now
        JSR     subroutine              ; the stack lives in the moved RAM
done    BRA     done

subroutine
        INC     RAM_NEW+2
        RTS

        INCLUDE "vectors.inc"
        END     start

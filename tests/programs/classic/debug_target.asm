* Calls (one nested), a routine that returns past inline text, a software interrupt and a
* counter in memory, shown on port B: a program for breakpoints, watchpoints, stepping and
* the history.
        INCLUDE "vector_defaults.inc"
count   EQU     $40                     ; loads name it >count: extended, as in the GNU build
PORTB   EQU     $1004

        ORG     $2000
start   LDS     #$01FF
        CLR     count
loop    INC     count
        JSR     twice
        JSR     print_inline
        FCC     "ok"
        FCB     0
        SWI
        LDAA    >count
        CMPA    #5
        BNE     loop
halt    BRA     halt

* A = count * 2, through a nested call.
twice   LDAA    >count
        BSR     double
        RTS
double  ASLA
        RTS

* Returns past the zero-terminated text that follows its JSR.
print_inline
        PULX
skip    LDAB    0,X
        INX
        TSTB
        BNE     skip
        JMP     0,X

swi_handler
        LDAB    >count
        STAB    PORTB
        RTI

* The vectors this program serves; the others stay 0.
swi_vector SET swi_handler
        INCLUDE "vectors.inc"
        END     start

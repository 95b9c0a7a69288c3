* A Forth-like key loop: between two reads of the status port a round-robin PAUSE runs a
* second task, which works for about 170 instructions and pauses back. Each switch stores
* the task's stack pointer and the current task in memory, which a whole round leaves as
* it was. Echoes keys until a full stop.
        INCLUDE "vector_defaults.inc"
STATUS  EQU     $1036
TERMINAL EQU    $1037
TASK1   EQU     $0100                   ; a task: its saved SP, then the next task
TASK2   EQU     $0104
CURRENT EQU     $0108
STACK2  EQU     $017E                   ; task 2 starts with "background" on its stack

        ORG     $2000
start   LDS     #$01FF
        LDD     #background
        STD     STACK2+1
        LDD     #STACK2
        STD     TASK2
        LDD     #TASK2
        STD     TASK1+2
        LDD     #TASK1
        STD     TASK2+2
        STD     CURRENT
key     LDAA    STATUS
        BNE     got
        JSR     pause
        BRA     key
got     LDAA    TERMINAL
        CMPA    #$2E                    ; '.'
        BEQ     done
        STAA    TERMINAL
        BRA     key
done    STOP
halt    BRA     halt

* Saves this task's SP and resumes the next task where it paused.
pause   LDX     CURRENT
        STS     0,X
        LDX     2,X
        STX     CURRENT
        LDS     0,X
        RTS

background
        LDAB    #56
work    DECB
        NOP
        BNE     work
        JSR     pause
        BRA     background

        INCLUDE "vectors.inc"
        END     start

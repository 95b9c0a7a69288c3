; A Forth-like key loop: between two reads of the status port a round-robin PAUSE runs a
; second task, which works for about 170 instructions and pauses back. Each switch stores
; the task's stack pointer and the current task in memory, which a whole round leaves as
; it was. Echoes keys until a full stop.
        .equ    STATUS, 0x1036
        .equ    TERMINAL, 0x1037
        .equ    TASK1, 0x0100                   ; a task: its saved SP, then the next task
        .equ    TASK2, 0x0104
        .equ    CURRENT, 0x0108
        .equ    STACK2, 0x017E                  ; task 2 starts with "background" on its stack

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
        ldd     #background
        std     STACK2+1
        ldd     #STACK2
        std     TASK2
        ldd     #TASK2
        std     TASK1+2
        ldd     #TASK1
        std     TASK2+2
        std     CURRENT
key:    ldaa    STATUS
        bne     got
        jsr     pause
        bra     key
got:    ldaa    TERMINAL
        cmpa    #0x2E                   ; '.'
        beq     done
        staa    TERMINAL
        bra     key
done:   stop
halt:   bra     halt

; Saves this task's SP and resumes the next task where it paused.
pause:  ldx     CURRENT
        sts     0,x
        ldx     2,x
        stx     CURRENT
        lds     0,x
        rts

background:
        ldab    #56
work:   decb
        nop
        bne     work
        jsr     pause
        bra     background

        .include "vectors.inc"

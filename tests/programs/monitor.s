; A monitor's command loop: a prompt, a command line read by polling the status port (up
; to the CR), "got: " and the command, then a quiet fill of 2 KiB of memory and a listing
; of 40 rows, both looking for an abort key between bytes, as monitors do; a key there is
; taken and ends the command.
        .equ    STATUS, 0x1036
        .equ    TERMINAL, 0x1037
        .equ    LINE, 0x0080

        .section .text
        .globl  _start
_start:
        lds     #0x01FF
prompt: ldx     #prompt_text
        jsr     puts
        ldx     #LINE
getc:   ldaa    STATUS
        beq     getc
        ldaa    TERMINAL
        cmpa    #0x0D
        beq     got
        staa    0,x
        inx
        bra     getc
got:    clr     0,x
        ldx     #got_text
        jsr     puts
        ldx     #LINE
        jsr     puts
        ldx     #crlf
        jsr     puts
        ldx     #0x3000
fill:   ldaa    STATUS
        bne     abort
        ldaa    #0x55
        staa    0,x
        inx
        cpx     #0x3800
        bne     fill
        ldab    #40
list:   ldx     #row
lchar:  ldaa    STATUS
        bne     abort
        ldaa    0,x
        beq     lend
        staa    TERMINAL
        inx
        bra     lchar
lend:   decb
        bne     list
        bra     prompt
abort:  ldaa    TERMINAL                ; the key is taken
        ldx     #abort_text
        jsr     puts
        bra     prompt

puts:   ldaa    0,x
        beq     putend
        staa    TERMINAL
        inx
        bra     puts
putend: rts

prompt_text:
        .asciz  "> "
got_text:
        .asciz  "got: "
crlf:   .asciz  "\r\n"
row:    .asciz  "0123456789ABCDEF0123456789ABCDEF\r\n"
abort_text:
        .asciz  "<aborted>\r\n"

        .include "vectors.inc"

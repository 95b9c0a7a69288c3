* A monitor's command loop: a prompt, a command line read by polling the status port (up
* to the CR), "got: " and the command, then a quiet fill of 2 KiB of memory and a listing
* of 40 rows, both looking for an abort key between bytes, as monitors do; a key there is
* taken and ends the command.
        INCLUDE "vector_defaults.inc"
STATUS  EQU     $1036
TERMINAL EQU    $1037
LINE    EQU     $0080

        ORG     $2000
start   LDS     #$01FF
prompt  LDX     #prompt_text
        JSR     puts
        LDX     #LINE
getc    LDAA    STATUS
        BEQ     getc
        LDAA    TERMINAL
        CMPA    #$0D
        BEQ     got
        STAA    0,X
        INX
        BRA     getc
got     CLR     0,X
        LDX     #got_text
        JSR     puts
        LDX     #LINE
        JSR     puts
        LDX     #crlf
        JSR     puts
        LDX     #$3000
fill    LDAA    STATUS
        BNE     abort
        LDAA    #$55
        STAA    0,X
        INX
        CPX     #$3800
        BNE     fill
        LDAB    #40
list    LDX     #row
lchar   LDAA    STATUS
        BNE     abort
        LDAA    0,X
        BEQ     lend
        STAA    TERMINAL
        INX
        BRA     lchar
lend    DECB
        BNE     list
        BRA     prompt
abort   LDAA    TERMINAL                ; the key is taken
        LDX     #abort_text
        JSR     puts
        BRA     prompt

puts    LDAA    0,X
        BEQ     putend
        STAA    TERMINAL
        INX
        BRA     puts
putend  RTS

prompt_text
        FCC     "> "
        FCB     0
got_text
        FCC     "got: "
        FCB     0
crlf    FCB     $0D,$0A,0
row     FCC     "0123456789ABCDEF0123456789ABCDEF"
        FCB     $0D,$0A,0
abort_text
        FCC     "<aborted>"
        FCB     $0D,$0A,0

        INCLUDE "vectors.inc"
        END     start

* Every addressing mode, every directive and every way of writing a number at least once.
* It computes nothing: its bytes are what matters, checked against every_mode.s.
        NAM     every_mode
        TTL     Addressing modes and directives
        OPT     l
        PAGE
        INCLUDE "vector_defaults.inc"
REGS    EQU     $1000
flags   EQU     $40                     ; on the direct page, known before its uses
step    SET     2
step    SET     step*3                  ; 6 from here on

        ORG     $2000
* Immediate, of 8 and 16 bits, on the four opcode pages.
start   LDS     #$01FF
        LDX     #REGS
        LDY     #table
        LDAA    #'A
        LDAB    #%10100101
        ADDA    #@17
        ADDB    #-1
        ADDD    #(step+1)<<8
        CPD     #$1234
        CPY     #late
* Direct: known on the direct page before its use, or forced with < (a forward reference).
        LDAA    flags
        SUBD    flags+2
        STAA    <late
        JSR     <flags
* Extended: a forward reference, an address forced with >, addresses above $FF.
        STAB    late
        LDAA    >flags
        STAA    REGS+$04
        LDX     table+2
        JMP     done
* Indexed from X and from Y, with and without an offset.
        LDAA    0,X
        STD     step,X
        CPD     2,X
        LDY     4,X
        CPY     ,X
        LDAA    1,Y
        CPD     3,Y
        LDX     5,Y
        CPX     ,Y
        JMP     0,X
* Inherent, on the four opcode pages.
        NOP
        ABA
        MUL
        IDIV
        SWI
        XGDY
        INY
        TSY
* Bit instructions on the direct page and through X and Y, fields split by blanks or commas.
        BSET    flags $01
        BCLR    <late,$80
        BSET    4,X #$0F
        BCLR    2,Y,#$F0
loop    BRSET   flags $80 loop
        BRCLR   0,X $01 done
        BRSET   1,Y,#2,loop
        BRCLR   <late $10 *
* Relative, back, forward and to the location counter.
        BRA     *+2
        BNE     loop
        BEQ     done
        BSR     sub
        BRN     *
done    BRA     done
sub     RTS
swi_handler
        RTI
* Data.
table   FCB     1,'A,-1,%11,@7,$FF,(REGS>>8)&$F0
        FDB     *,start,-2,step*2       ; * is this line's address
        FCC     /slashes/
        FCC     "a b;c"
        BSZ     3
        ZMB     2
        FILL    $AA,4
late    EQU     $80                     ; defined after its uses: extended unless forced
buffer  RMB     16                      ; reserved, no bytes

swi_vector SET swi_handler
        INCLUDE "vectors.inc"
        END     start

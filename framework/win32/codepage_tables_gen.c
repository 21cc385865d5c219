/* Prints the OEM <-> ANSI byte tables of the portable CodePage seam (platform_codepage.cpp): the
 * answers of OemToCharBuffA and CharToOemBuffA for each single byte, best-fit characters included.
 * Build with x86_64-w64-mingw32-gcc and run under Wine with LANG=en_US.UTF-8 (ANSI 1252, OEM 437). */
#include <stdio.h>
#include <windows.h>

static void dump(const char* name, int toAnsi) {
    printf("const uint8_t %s[256] = {\n", name);
    for (int b = 0; b < 256; ++b) {
        char in = (char)b, out = 0;
        if (toAnsi)
            OemToCharBuffA(&in, &out, 1);
        else
            CharToOemBuffA(&in, &out, 1);
        printf("%s0x%02X,%s", b % 16 == 0 ? "    " : " ", (unsigned char)out, b % 16 == 15 ? "\n" : "");
    }
    printf("};\n");
}

int main(void) {
    dump("kOemToAnsi", 1);
    dump("kAnsiToOem", 0);
    return 0;
}

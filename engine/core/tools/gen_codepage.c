/* Prints the OEM<->ANSI byte tables of the running Windows system (run under Wine with
   LANG=en_US.UTF-8, which gives ANSI 1252 and OEM 437) as C++ array rows for codepage_tables.cpp. */
#include <stdio.h>
#include <windows.h>

static void dump(const char* name, BOOL toAnsi)
{
    printf("const unsigned char %s[256] = {\n", name);
    for (int i = 0; i < 256; ++i) {
        char in[2] = {(char)i, 0}, out[2] = {0, 0};
        if (i == 0) out[0] = 0;
        else if (toAnsi) OemToCharA(in, out);
        else CharToOemA(in, out);
        printf("%s0x%02X,%s", i % 16 == 0 ? "    " : "", (unsigned char)out[0], i % 16 == 15 ? "\n" : " ");
    }
    printf("};\n");
}

int main(void)
{
    printf("// ANSI %u, OEM %u\n", GetACP(), GetOEMCP());
    dump("kOemToAnsi", TRUE);
    dump("kAnsiToOem", FALSE);
    return 0;
}

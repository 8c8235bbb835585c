/* The VARFILE grammar: sections of a header line of attribute words and
   records of comma-separated fields. A record ends where a field follows a
   field with no comma between them; a bad record is skipped. */
%define api.prefix {zvf}
%define api.value.type {zarn::varfile::Tok}
%expect 0

%code requires {
#include "varfile/reader_core.h"
}

%code {
namespace vf = zarn::varfile;
int zvflex();
static void zvferror(const char *what) { vf::syntax_error(what); }
/* Room for 200 entries at first, doubled up to 10000. */
#define YYINITDEPTH 200
#define YYMAXDEPTH 10000
}

%token VF_SECTION VF_NAME VF_INTEGER VF_REAL VF_COMMA

%%

file:          %empty
             | first_section more_sections
             ;
first_section: header records
             | VF_SECTION header records
             ;
more_sections: %empty
             | more_sections VF_SECTION header records
             ;
header:        header_words                      { vf::header_end(); }
             ;
header_words:  VF_NAME                           { vf::header_begin(); vf::header_word(&$1); }
             | header_words VF_COMMA VF_NAME     { vf::header_word(&$3); }
             ;
records:       record
             | records record
             | error
             | records error
             ;
record:        first_field more_fields           { vf::record_end(); }
             ;
first_field:   field                             { vf::record_begin(); vf::record_field($1); }
             ;
more_fields:   %empty
             | more_fields commas field          { vf::record_skip($2.i); vf::record_field($3); }
             ;
commas:        VF_COMMA                          { $$.i = 0; }
             | commas VF_COMMA                   { $$.i = $1.i < INT32_MAX ? $1.i + 1 : $1.i; }
             ;
field:         VF_NAME | VF_INTEGER | VF_REAL
             ;

%%

/* The query grammar: tests joined by AND and OR (one precedence, grouped from
   the left), NOT before one term, parentheses. Each test is built by the
   engine's callback as soon as it is read; the first that cannot be built
   stops the parse. No error recovery. */
%define api.prefix {zql}
%expect 0

%code requires {
#include "qdlvarquery/parser_core.h"
}

%union {
    char *text;                  /* name, function name, word, text: owned */
    int32_t code;                /* comparison or logic operator */
    QDLQLiteral literal;         /* a text literal owns its text */
    IQDLQTest *test;             /* owned */
    QDLQCompoundTest *compound;  /* owned */
}

%code {
#include <cstdlib>

namespace qp = zarn::qdlvarquery;
int zqllex();
static void zqlerror(const char *what) { qp::syntax_error(what); }
/* Room for 200 entries at first, doubled up to 10000. */
#define YYINITDEPTH 200
#define YYMAXDEPTH 10000
#define YYMALLOC qp::stack_alloc
#define YYFREE qp::stack_free
}

%token ZQL_AND ZQL_OR ZQL_NOT
%token ZQL_NOMEM             /* a token text could not be kept */
%token <code> ZQL_COMPARE
%token <text> ZQL_NAME ZQL_FUNCTION ZQL_WORD ZQL_TEXT
%token <literal> ZQL_INTEGER ZQL_REAL ZQL_BOOLEAN
%type <code> logic
%type <literal> literal
%type <test> test
%type <compound> expr factor term

%destructor { std::free($$); } <text>
%destructor { qp::free_literal(&$$); } <literal>
%destructor { delete $$; } <test> <compound>

%%

query:    expr                              { qp::accept_tree($1); }
        ;
expr:     factor
        | expr logic factor                 { $$ = qp::join($1, $2, $3); if ($$ == nullptr) YYABORT; }
        ;
logic:    ZQL_AND                           { $$ = QDLQ_AND; }
        | ZQL_OR                            { $$ = QDLQ_OR; }
        ;
factor:   ZQL_NOT term                      { $2->Negate(); $$ = $2; }
        | term
        ;
term:     '(' expr ')'                      { $$ = $2; }
        | test                              { $$ = qp::single($1); if ($$ == nullptr) YYABORT; }
        ;
test:     ZQL_NAME ZQL_COMPARE literal      { $$ = qp::comparison($1, $2, &$3); if ($$ == nullptr) YYABORT; }
        | ZQL_FUNCTION '(' literal ')'      { $$ = qp::function($1, &$3); if ($$ == nullptr) YYABORT; }
        | ZQL_FUNCTION '(' ')'              { $$ = qp::function($1, nullptr); if ($$ == nullptr) YYABORT; }
        ;
literal:  ZQL_REAL
        | ZQL_INTEGER
        | ZQL_BOOLEAN
        | ZQL_WORD                          { if (!qp::word_literal($1, &$$)) YYABORT; }
        | ZQL_TEXT                          { $$ = qp::text_literal($1); }
        ;

%%

#include "text/message_table.h"

#include <utility>

namespace virelo::text {

namespace {

// clang-format off
constexpr std::array<std::string_view, kMessageCount> kBuiltInMessages = {
    "Termopar J   (-50°C a 760°C)          ",  // 0
    "Termopar K   (-90°C a 1370°C)         ",  // 1
    "Termopar T   (-100°C a 400°C)          ",  // 2
    "Termopar E   (-35°C a 720°C)           ",  // 3
    "Termopar N   (-90°C a 1300°C)         ",  // 4
    "Termopar R   (0°C a 1760°C)            ",  // 5
    "Termopar S   (0°C a 1760°C)            ",  // 6
    "Termopar B   (150°C a 1820°C)          ",  // 7
    "Pt100   (-200.0°C a 530.0°C)           ",  // 8
    "4-20mA Lin. J   (-50°C a 760°C)       ",  // 9
    "4-20mA Lin. K   (-90°C a 1370°C)      ",  // 10
    "4-20mA Lin. T   (-100°C a 400°C)       ",  // 11
    "4-20mA Lin. E   (-35°C a 720°C)        ",  // 12
    "4-20mA Lin. N   (-90°C a 1300°C)      ",  // 13
    "4-20mA Lin. R   (0°C a 1760°C)         ",  // 14
    "4-20mA Lin. S   (0°C a 1760°C)         ",  // 15
    "4-20mA Lin. B   (150°C a 1820°C)       ",  // 16
    "4-20mA Lin. Pt100  (-200.0°C a 530.0°C)",  // 17
    "Linear 4-20mA   (-1999 a 9999)         ",  // 18
    "Linear 0-50mV   (-1999 a 9999)         ",  // 19
    "Reserva",  // 20
    "Reserva",  // 21
    "Termopar J   (-58°F a 1400°F)         ",  // 22
    "Termopar K   (-130°F a 2498°F)         ",  // 23
    "Termopar T   (-148°F a 752°F)          ",  // 24
    "Termopar E   (-31°F a 1328°F)         ",  // 25
    "Termopar N   (-130°F a 2372°F)         ",  // 26
    "Termopar R   (-32°F a 3200°F)           ",  // 27
    "Termopar S   (-32°F a 3200°F)           ",  // 28
    "Termopar B   (302°F a 3308°F)          ",  // 29
    "Pt100   (-328.0°F a 986.0°F)           ",  // 30
    "4-20mA Lin. J   (-58°F a 1400°F)      ",  // 31
    "4-20mA Lin. K   (-130°F a 2498°F)      ",  // 32
    "4-20mA Lin. T   (-148°F a 752°F)       ",  // 33
    "4-20mA Lin. E   (-31°F a 1328°F)      ",  // 34
    "4-20mA Lin. N   (-130°F a 2372°F)      ",  // 35
    "4-20mA Lin. R   (-32°F a 3200°F)        ",  // 36
    "4-20mA Lin. S   (-32°F a 3200°F)        ",  // 37
    "4-20mA Lin. B   (302°F a 3308°F)       ",  // 38
    "4-20mA Lin. Pt100 (-328.0°F a 986.0°F) ",  // 39
    "Linear 0-50mV   (-1999 a 9999)         ",  // 40
    "Linear 4-20mA   (-1999 a 9999)         ",  // 41
    "Reserva",  // 42
    "Reserva",  // 43
    "Erro na tentativa de conexão da porta serial! Tente conectar outra porta",  // 44
    "Erro na leitura da configuração! Execute a Busca Automática!",  // 45
    "Ativo",  // 46
    "Inativo",  // 47
    "Atenção",  // 48
    "Erro na escrita",  // 49
    "Canal",  // 50
    "O limite inferior não pode ser maior ou igual ao limite superior",  // 51
    "O limite superior não pode ser menor ou igual ao limite inferior",  // 52
    "O limite inferior não pode ser menor que o limite do sensor",  // 53
    "O limite superior não pode ser maior que o limite do sensor",  // 54
    "O Set Point do Alarme 1 não pode ser menor ou igual ao limite inferior",  // 55
    "O Set Point do Alarme 1 não pode ser maior ou igual ao limite superior",  // 56
    "O Set Point do Alarme 2 não pode ser menor ou igual ao limite inferior",  // 57
    "O Set Point do Alarme 2 não pode ser maior ou igual ao limite superior",  // 58
    "Erro na escrita da configuração",  // 59
    "Erro na escrita da escala superior",  // 60
    "Erro na escrita da escala inferior",  // 61
    "Erro na escrita do set point do alarme 1",  // 62
    "Erro na escrita do set point do alarme 2",  // 63
    "Erro na escrita do título",  // 64
    "Erro na escrita do Tag 1",  // 65
    "Erro na escrita do Tag 2",  // 66
    "Erro na escrita do Tag 3",  // 67
    "Erro na escrita do Tag 4",  // 68
    "Erro na escrita do Tag 5",  // 69
    "Erro na escrita do Tag 6",  // 70
    "Erro na escrita do Tag 7",  // 71
    "Erro na escrita do Tag 8",  // 72
    "Erro na escrita do Unidade de Engenharia 1",  // 73
    "Erro na escrita do Unidade de Engenharia 2",  // 74
    "Erro na escrita do Unidade de Engenharia 3",  // 75
    "Erro na escrita do Unidade de Engenharia 4",  // 76
    "Erro na escrita do Unidade de Engenharia 5",  // 77
    "Erro na escrita do Unidade de Engenharia 6",  // 78
    "Erro na escrita do Unidade de Engenharia 7",  // 79
    "Erro na escrita do Unidade de Engenharia 8",  // 80
    "Erro na escrita das posições dos pontos decimais",  // 81
    "Erro na escrita do tipo de logging a ser efetuado",  // 82
    "Sem Erro",  // 83
    "Escravo não respondeu o endereço correto",  // 84
    "Número de bytes a receber inválido",  // 85
    "Endereço de registrador inválido",  // 86
    "Valor retornado é diferente do valor forçado",  // 87
    "Resposta de exceção do escravo",  // 88
    "Comando inválido",  // 89
    "CRC inválido",  // 90
    "Time-out",  // 91
    "Porta serial não conectada",  // 92
    "Reserva para comm error",  // 93
    "Reserva para comm error",  // 94
    "Relógio não localizado!",  // 95
    "Memórias não localizadas!",  // 96
    "Relógio e Memórias não localizados!",  // 97
    "Erro ao tentar iniciar remotamente as aquisições",  // 98
    "Erro ao tentar parar remotamente as aquisições",  // 99
    "Multiplicador deve estar entre 1 e 255",  // 100
    "O mês do início de aquisições deve estar entre 1 e 12",  // 101
    "O dia do início de aquisições deve estar entre 1 e 31",  // 102
    "A hora do início de aquisições deve estar entre 0 e 23",  // 103
    "Os minutos do início de aquisições deve estar entre 0 e 59",  // 104
    "Os segundos do início de aquisições deve estar entre 0 e 59",  // 105
    "A data/hora inicial deve ser maior que a data/hora atual",  // 106
    "O mês do final de aquisições deve estar entre 1 e 12",  // 107
    "O dia do final de aquisições deve estar entre 1 e 31",  // 108
    "A hora do final de aquisições deve estar entre 0 e 23",  // 109
    "Os minutos do final de aquisições deve estar entre 0 e 59",  // 110
    "Os segundos do final de aquisições deve estar entre 0 e 59",  // 111
    "A data/hora final deve ser maior que a data/hora atual",  // 112
    "A data/hora final deve ser maior que a data/hora ini",  // 113
    "Memória insuficiente para a faixa de aquisição selecionada",  // 114
    "O número de Intervalos Base para final de aquisições deve ser maior que 0",  // 115
    "O número máximo de Intervalos Base é",  // 116
    "A hora do Intervalo de Aquisições deve estar entre 0 e 23",  // 117
    "Os minutos do Intervalo de Aquisições deve estar entre 0 e 59",  // 118
    "Os segundos do Intervalo de Aquisições deve estar entre 0 e 59",  // 119
    "Os décimos de segundo do Intervalo de Aquisições deve estar entre 0 e 9",  // 120
    "O Intervalo Base não pode ser zero",  // 121
    "O multiplicador de intervalo deve estar entre 1 e 255 do canal",  // 122
    "Pelo menos um dos Multiplicadores de Intervalo deve ser 1",  // 123
    "Erro ao tentar parar as aquisições",  // 124
    "Erro ao ajustar os segundos/minutos",  // 125
    "Erro ao ajustar a hora/dia",  // 126
    "Erro ao ajustar o mês/ano",  // 127
    "Erro na escrita do seg/min da 1ª aquisição",  // 128
    "Erro na escrita da hrs/dia da 1ª aquisição",  // 129
    "Erro na escrita do mes/ano da 1ª aquisição",  // 130
    "Erro na escrita do seg/min da última aquisição",  // 131
    "Erro na escrita da hrs/dia da última aquisição",  // 132
    "Erro na escrita do mes/ano da última aquisição",  // 133
    "Erro na escrita do número programado de aquisições",  // 134
    "Erro na escrita do dec/seg do intervalo entre aquisições",  // 135
    "Erro na escrita do min/hrs do intervalo entre aquisições",  // 136
    "Erro na escrita do multiplicador de intervalo do canal",  // 137
    "Erro ao habilitar as aquisições",  // 138
    "Meses",  // 139
    "Dias",  // 140
    "Não foi possível configurar a porta serial",  // 141
    "Tem certeza que deseja modificar os parâmetros do Registrador ?",  // 142
    "Erro na leitura da configuração do Equipamento de endereço",  // 143
    "e baud rate",  // 144
    "Execute a Busca Automática com o Equipamento ponto a ponto!",  // 145
    "Configuração do Equipamento de endereço",  // 146
    "lida com sucesso!",  // 147
    "Sucesso",  // 148
    "O Configurador iniciará a busca automática",  // 149
    "Certifique-se que o Registrador não esteja conectado em uma rede",  // 150
    "Iniciar busca?",  // 151
    "Busca automática concluída",  // 152
    "Não foi possível comunicar com o Registrador!",  // 153
    "Reserva",  // 154
    "Relógio não localizado",  // 155
    "Memórias E2PROM não localizadas",  // 156
    "Memórias E2PROM estão lotadas",  // 157
    "Aquisições iniciadas",  // 158
    "Todas as aquisições programadas já foram efetuadas",  // 159
    "Erro interno ( auto-zero ) - contacte assistência técnica",  // 160
    "Erro interno ( auto-span ) - contacte assistência técnica",  // 161
    "Erro interno ( junta-fria ) - contacte assistência técnica",  // 162
    "Reserva",  // 163
    "Erro na leitura do canal: verifique as ligações",  // 164
    "Erro na leitura do canal: verifique as ligações",  // 165
    "Erro na leitura do canal: verifique as ligações",  // 166
    "Erro na leitura do canal: verifique as ligações",  // 167
    "Resistência do cabo PT100 muito alta: verifique as ligações",  // 168
    "Nenhum",  // 169
    "Erro na escrita do Filtro do canal",  // 170
    "Erro na escrita da Freqüência da Rede",  // 171
    "Reserva",  // 172
    "Comunicação",  // 173
    "Lendo a Configuração...    Aguarde.",  // 174
    "Enviando a Configuração dos Canais...    Aguarde.",  // 175
    "Enviando a Configuração das Aquisições...    Aguarde.",  // 176
    "Realizando Busca Automática...    Aguarde.",  // 177
    "Número menor do que o limite de indicação",  // 178
    "Número maior do que o limite de indicação",  // 179
    "Configurador Virelo",  // 180
    "Intervalo Base de Aquisições definido é inferior ao intervalo mínimo sugerido para esta configuração de Canais",  // 181
    "Intervalo Base sugerido: ",  // 182
    "Utilizar intervalo sugerido ?",  // 183
    "\\Software\\Ostrana\\Configurador Virelo\\Settings",  // 184
    "Communication",  // 185
    "Port",  // 186
    "Baud",  // 187
    "Address",  // 188
    "Security",  // 189
    "Enable",  // 190
    "Password",  // 191
    "Erro ao salvar configurações !",  // 192
    "/nopassword",  // 193
    "&Modificar",  // 194
    "&Aplicar",  // 195
    "Lendo valores de Offset...    Aguarde.",  // 196
    "Restaurando valores de Offset...    Aguarde.",  // 197
    "Arquivo não existe!",  // 198
    "Formato de arquivo inválido!",  // 199
    "Confirmar os atuais valores de Offset ?",  // 200
    "Erro de Comunicação! Execute a Busca Automática!",  // 201
    "Enviando valores de Offset... Aguarde.",  // 202
    "Erro na escrita das habilitações das casas decimais dos termopares",  // 203
    "Parity",  // 204
    "StopBit",  // 205
    "Anos",  // 206
};
// clang-format on

bool IsValidIndex(int index) {
  return index >= 0 && index < kMessageCount;
}

}  // namespace

const std::array<std::string_view, kMessageCount>& BuiltInMessages() {
  return kBuiltInMessages;
}

MessageTable::MessageTable() {
  for (int index = 0; index < kMessageCount; ++index) {
    entries_[index] = std::string(kBuiltInMessages[index]);
  }
}

const std::string& MessageTable::operator[](int index) const {
  static const std::string kEmpty;
  return IsValidIndex(index) ? entries_[index] : kEmpty;
}

void MessageTable::Replace(int index, std::string utf8Text) {
  if (IsValidIndex(index)) entries_[index] = std::move(utf8Text);
}

const MessageTable& BuiltInTable() {
  static const MessageTable table;
  return table;
}

}  // namespace virelo::text
